#include "core/platform/FrameTicker.h"

namespace quillbern {

FrameTicker::FrameTicker(FrameClock& frames, std::function<bool(MediaTime)> isMoving, Task redraw)
    : frames_(frames), isMoving_(std::move(isMoving)), redraw_(std::move(redraw)) {}

void FrameTicker::kick() {
    // A ticking view draws the change at its next frame, as one that drew within the last.
    if (frameAsked_) return;
    if (frames_.mayDrawNow()) {
        redraw();
    } else {
        askFrame();
    }
}

// "Moving" is decided before the frame is drawn: a frame reads the clock no earlier, so the
// one drawn after a value came to rest shows it at rest.
void FrameTicker::redraw() {
    const bool moving = isMoving_(frames_.clock().mediaNow());
    redraw_();
    if (moving) askFrame();
}

void FrameTicker::askFrame() {
    frameAsked_ = true;
    frames_.request(lifetime_.guard([this] {
        frameAsked_ = false;
        redraw();
    }));
}

}  // namespace quillbern
