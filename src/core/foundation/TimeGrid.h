#pragma once

#include "core/foundation/Time.h"

namespace quillbern {

// The times of a repeating timer that started at `origin`: origin plus whole periods,
// counted in whole microseconds as the run loops count them. A timer that stopped can so
// resume exactly where it would have fired had it never stopped.
struct TimeGrid {
    MediaTime origin;
    Duration period = 0;

    // The last time of the grid at or before `now` (the origin when none has come yet).
    MediaTime lastAtOrBefore(MediaTime now) const;
    // The first time of the grid after `now`.
    MediaTime nextAfter(MediaTime now) const;
};

}  // namespace quillbern
