#include "core/platform/FrameTicker.h"

namespace quillbern {

FrameTicker::FrameTicker(RunLoop& loop, const Clock& clock, std::function<bool(MediaTime)> isMoving, Task redraw)
    : loop_(loop), clock_(clock), isMoving_(std::move(isMoving)), redraw_(std::move(redraw)) {}

// "Moving" is decided before the frame is drawn: a frame reads the clock no earlier, so the
// one drawn after a value came to rest shows it at rest.
void FrameTicker::kick() {
    // A ticking view draws the change at its next frame.
    if (timer_.isPending()) return;
    const MediaTime now = clock_.mediaNow();
    if (lastRedraw_ && now - *lastRedraw_ < kFrameInterval) {
        timer_ = loop_.every(
            kFrameInterval, [this] { tick(); }, *lastRedraw_ + kFrameInterval - now);
        return;
    }
    const bool moving = isMoving_(now);
    lastRedraw_ = now;
    redraw_();
    if (moving) timer_ = loop_.every(kFrameInterval, [this] { tick(); });
}

void FrameTicker::tick() {
    const MediaTime now = clock_.mediaNow();
    const bool moving = isMoving_(now);
    lastRedraw_ = now;
    redraw_();
    if (!moving) timer_.cancel();
}

}  // namespace quillbern
