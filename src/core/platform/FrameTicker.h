#pragma once

#include <functional>

#include "core/foundation/Clock.h"
#include "core/foundation/Lifetime.h"
#include "core/platform/FrameClock.h"

namespace quillbern {

// Redraws a view once a frame of the frame clock while any of its eased values moves, and
// stops after the frame that shows them at rest. Never more than once a frame: changes
// that come within a frame of the last are drawn together at the next, since each redraw
// of a window may wait for the display server.
class FrameTicker {
public:
    static constexpr Duration kFrameInterval = FrameClock::kFrameInterval;

    FrameTicker(FrameClock& frames, std::function<bool(MediaTime)> isMoving, Task redraw);
    FrameTicker(const FrameTicker&) = delete;
    FrameTicker& operator=(const FrameTicker&) = delete;

    // After a value was given a new target, or what the view draws changed.
    void kick();
    bool isTicking() const { return frameAsked_; }

private:
    void redraw();
    void askFrame();

    FrameClock& frames_;
    std::function<bool(MediaTime)> isMoving_;
    Task redraw_;
    bool frameAsked_ = false;
    Lifetime lifetime_;
};

}  // namespace quillbern
