#include "core/platform/FrameTicker.h"

namespace quillbern {

FrameTicker::FrameTicker(RunLoop& loop, const Clock& clock, std::function<bool(MediaTime)> isMoving, Task redraw)
    : loop_(loop), clock_(clock), isMoving_(std::move(isMoving)), redraw_(std::move(redraw)) {}

void FrameTicker::kick() {
    redraw_();
    if (timer_.isPending() || !isMoving_(clock_.mediaNow())) return;
    timer_ = loop_.every(kFrameInterval, [this] { tick(); });
}

void FrameTicker::tick() {
    redraw_();
    if (!isMoving_(clock_.mediaNow())) timer_.cancel();
}

}  // namespace quillbern
