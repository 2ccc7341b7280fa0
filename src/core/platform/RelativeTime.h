#pragma once

#include "core/foundation/Time.h"

namespace quillbern {

// How far a date lies from now, in the largest unit that counts it whole: what a relative
// date ("yesterday", "3 hours ago") says. Negative in the past.
struct RelativeOffset {
    enum class Unit { second, minute, hour, day, week, month, year };
    int value = 0;
    Unit unit = Unit::second;
    bool operator==(const RelativeOffset&) const = default;
};

RelativeOffset relativeOffset(WallTime when, WallTime now);

}  // namespace quillbern
