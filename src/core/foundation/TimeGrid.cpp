#include "core/foundation/TimeGrid.h"

#include <algorithm>
#include <cmath>

namespace quillbern {

namespace {

constexpr double kMicroseconds = 1e6;

long long micros(Duration seconds) {
    return std::llround(seconds * kMicroseconds);
}

MediaTime at(MediaTime origin, long long offset) {
    return {origin.seconds + double(offset) / kMicroseconds};
}

}  // namespace

MediaTime TimeGrid::lastAtOrBefore(MediaTime now) const {
    const long long step = std::max(1LL, micros(period));
    return at(origin, std::max(0LL, micros(now - origin)) / step * step);
}

MediaTime TimeGrid::nextAfter(MediaTime now) const {
    const long long step = std::max(1LL, micros(period));
    return at(origin, (std::max(0LL, micros(now - origin)) / step + 1) * step);
}

}  // namespace quillbern
