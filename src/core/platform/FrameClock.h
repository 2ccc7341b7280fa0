#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"

namespace quillbern {

// The frames of every animation on the main loop: the views and panels that move are
// stepped in the same turn, once a frame, so that animations running together wake the
// program once a frame rather than once each, and not at all through frames no step is
// due at. A frame may first wait for the display server (the pacer): while it does not
// answer, no frame runs, and those it could not have drawn are skipped, not made up. Main
// thread.
class FrameClock {
public:
    static constexpr Duration kFrameInterval = 1.0 / 60;
    // Runs the task once a frame may be drawn.
    using Pacer = std::function<void(Task)>;

    FrameClock(RunLoop& loop, const Clock& clock);
    FrameClock(const FrameClock&) = delete;
    FrameClock& operator=(const FrameClock&) = delete;

    RunLoop& loop() const { return loop_; }
    const Clock& clock() const { return clock_; }
    void setPacer(Pacer pacer);

    // Runs `step` once, at the next frame: a frame after the last at the earliest, and the
    // one nearest `notBefore` at the earliest when given. Steps asked for during a frame run
    // at the one after.
    void request(Task step, std::optional<MediaTime> notBefore = {});
    // Whether a view may draw at once, outside the frames: only while no frame is due within
    // the frame interval and none ran within it. The drawing then counts as a frame.
    bool mayDrawNow();

private:
    struct Step {
        Task task;
        std::optional<MediaTime> notBefore;
    };

    bool isDue(const Step& step, MediaTime frame) const;
    // The next frame a step is due at, when none is due before it.
    MediaTime firstDue() const;
    void schedule();
    void tick();
    void frame();

    RunLoop& loop_;
    const Clock& clock_;
    Pacer pacer_;
    std::vector<Step> steps_;
    std::optional<MediaTime> lastFrame_;
    Timer timer_;
    // When the timer next ticks.
    MediaTime nextTick_;
    // Between the frame's time and its steps, while the pacer waits.
    bool pacing_ = false;
    bool stepping_ = false;
    Lifetime lifetime_;
};

}  // namespace quillbern
