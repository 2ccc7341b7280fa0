#include "core/platform/FrameTicker.h"

namespace quillbern {

FrameTicker::FrameTicker(RunLoop& loop, const Clock& clock, std::function<bool(MediaTime)> isMoving, Task redraw)
    : loop_(loop), clock_(clock), isMoving_(std::move(isMoving)), redraw_(std::move(redraw)) {}

// "Moving" is decided before the frame is drawn: a frame reads the clock no earlier, so the
// one drawn after a value came to rest shows it at rest.
void FrameTicker::kick() {
    const bool moving = isMoving_(clock_.mediaNow());
    redraw_();
    if (timer_.isPending() || !moving) return;
    timer_ = loop_.every(kFrameInterval, [this] { tick(); });
}

void FrameTicker::tick() {
    const bool moving = isMoving_(clock_.mediaNow());
    redraw_();
    if (!moving) timer_.cancel();
}

}  // namespace quillbern
