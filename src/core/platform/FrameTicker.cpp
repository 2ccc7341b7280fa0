#include "core/platform/FrameTicker.h"

namespace quillbern {

FrameTicker::FrameTicker(FrameClock& frames, std::function<bool(MediaTime)> isMoving, Task redraw,
                         NextChange nextChange)
    : frames_(frames), isMoving_(std::move(isMoving)), redraw_(std::move(redraw)), nextChange_(std::move(nextChange)) {}

void FrameTicker::kick() {
    // A ticking view draws the change at its next frame, as one that drew within the last.
    if (frameAsked_ && !askedLater_) return;
    if (frames_.mayDrawNow()) {
        redraw();
    } else {
        askFrame();
    }
}

// "Moving" is decided before the frame is drawn: a frame reads the clock no earlier, so the
// one drawn after a value came to rest shows it at rest.
void FrameTicker::redraw() {
    const MediaTime now = frames_.clock().mediaNow();
    const bool moving = isMoving_(now);
    redraw_();
    if (!moving) return;
    // A change due at the next frame keeps to the frames' pace.
    if (nextChange_) {
        if (const MediaTime next = nextChange_(now); next - now > kFrameInterval * 1.5) {
            askFrame(next);
            return;
        }
    }
    askFrame();
}

void FrameTicker::askFrame(std::optional<MediaTime> notBefore) {
    frameAsked_ = true;
    askedLater_ = notBefore.has_value();
    frames_.request(lifetime_.guard([this, ask = ++asks_] {
        if (ask != asks_) return;
        frameAsked_ = false;
        askedLater_ = false;
        redraw();
    }),
                    notBefore);
}

}  // namespace quillbern
