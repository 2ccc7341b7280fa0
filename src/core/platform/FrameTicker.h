#pragma once

#include <cstdint>
#include <functional>
#include <optional>

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
    // The time of the first frame after a frame drawn at the given time that would draw
    // anything new, for a view whose motion shows in steps: frames between are not drawn.
    using NextChange = std::function<MediaTime(MediaTime)>;

    FrameTicker(FrameClock& frames, std::function<bool(MediaTime)> isMoving, Task redraw, NextChange nextChange = {});
    FrameTicker(const FrameTicker&) = delete;
    FrameTicker& operator=(const FrameTicker&) = delete;

    // After a value was given a new target, or what the view draws changed.
    void kick();
    bool isTicking() const { return frameAsked_; }

private:
    void redraw();
    void askFrame(std::optional<MediaTime> notBefore = {});

    FrameClock& frames_;
    std::function<bool(MediaTime)> isMoving_;
    Task redraw_;
    NextChange nextChange_;
    bool frameAsked_ = false;
    // The frame asked for is a later one than the next: a kick asks for the next instead,
    // and the later one, which the clock still runs, then draws nothing.
    bool askedLater_ = false;
    std::uint64_t asks_ = 0;
    Lifetime lifetime_;
};

}  // namespace quillbern
