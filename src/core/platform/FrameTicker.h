#pragma once

#include <functional>
#include <optional>

#include "core/foundation/Clock.h"
#include "core/foundation/RunLoop.h"

namespace quillbern {

// Redraws a view once a frame while any of its eased values moves, and stops after the
// frame that shows them at rest. Never more than once a frame: changes that come within a
// frame of the last redraw are drawn together at the next, since each redraw of a window
// may wait for the display server.
class FrameTicker {
public:
    static constexpr Duration kFrameInterval = 1.0 / 60;

    FrameTicker(RunLoop& loop, const Clock& clock, std::function<bool(MediaTime)> isMoving, Task redraw);
    FrameTicker(const FrameTicker&) = delete;
    FrameTicker& operator=(const FrameTicker&) = delete;

    // After a value was given a new target, or what the view draws changed.
    void kick();
    bool isTicking() const { return timer_.isPending(); }

private:
    void tick();

    RunLoop& loop_;
    const Clock& clock_;
    std::function<bool(MediaTime)> isMoving_;
    Task redraw_;
    Timer timer_;
    std::optional<MediaTime> lastRedraw_;
};

}  // namespace quillbern
