#pragma once

#include <compare>

namespace quillbern {

// Seconds, as the run loop and every delay of the system count them.
using Duration = double;

// Seconds since 1970: dates, stamps and dated keys.
struct WallTime {
    double sinceEpoch = 0;
    auto operator<=>(const WallTime&) const = default;
    Duration operator-(WallTime other) const { return sinceEpoch - other.sinceEpoch; }
    WallTime operator+(Duration d) const { return {sinceEpoch + d}; }
};

// Monotonic seconds for gestures, animations and caches; never mixed with WallTime.
struct MediaTime {
    double seconds = 0;
    auto operator<=>(const MediaTime&) const = default;
    Duration operator-(MediaTime other) const { return seconds - other.seconds; }
    MediaTime operator+(Duration d) const { return {seconds + d}; }
};

}  // namespace quillbern
