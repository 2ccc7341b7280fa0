#include "core/platform/RelativeTime.h"

#include <cmath>

namespace quillbern {

RelativeOffset relativeOffset(WallTime when, WallTime now) {
    using Unit = RelativeOffset::Unit;
    constexpr double kMinute = 60, kHour = 3600, kDay = 86'400, kWeek = 7 * kDay, kMonth = 30 * kDay,
                     kYear = 365 * kDay;
    const double seconds = when - now;
    const double length = std::abs(seconds);
    // Truncated towards zero: 36 hours ago is "yesterday", not two days ago.
    const auto in = [seconds](double unit) { return int(std::trunc(seconds / unit)); };
    if (length < kMinute) return {in(1), Unit::second};
    if (length < kHour) return {in(kMinute), Unit::minute};
    if (length < kDay) return {in(kHour), Unit::hour};
    if (length < kWeek) return {in(kDay), Unit::day};
    if (length < kMonth) return {in(kWeek), Unit::week};
    if (length < kYear) return {in(kMonth), Unit::month};
    return {in(kYear), Unit::year};
}

}  // namespace quillbern
