#pragma once

#include <cstdint>
#include <mutex>

#include "core/foundation/Clock.h"

namespace quillbern {

// The X server time of the latest input the user gave us: a press, release or key our own
// windows took, or a global chord of ours. Requests made for the user, such as activating a
// window, carry it as EWMH asks, so a window manager that keeps windows from stealing the
// focus takes them for the user's own; one made long after it answers something else and
// carries no time, since a focus change elsewhere meanwhile would make that time look stale
// (metacity refuses such a request). Written on the main thread, read on any.
class X11UserTime {
public:
    // Input older than this caused no request made now: the slowest answer to one (a window
    // restored, or taken out of full screen, before it is focused) takes under two seconds.
    static constexpr Duration kCauseLimit = 5.0;

    explicit X11UserTime(const Clock& clock) : clock_(clock) {}

    void note(std::uint32_t time);
    // The time a request made now carries: the latest input's, XCB_CURRENT_TIME (0) when
    // there was none within the limit.
    std::uint32_t requestTime() const;

private:
    const Clock& clock_;
    mutable std::mutex mutex_;
    std::uint32_t time_ = 0;
    MediaTime notedAt_;
};

}  // namespace quillbern
