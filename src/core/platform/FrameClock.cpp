#include "core/platform/FrameClock.h"

#include <algorithm>
#include <utility>

namespace quillbern {

FrameClock::FrameClock(RunLoop& loop, const Clock& clock) : loop_(loop), clock_(clock) {}

void FrameClock::setPacer(Pacer pacer) {
    pacer_ = std::move(pacer);
    // A frame that waited for the pacer before waits for this one.
    if (std::exchange(pacing_, false)) schedule();
}

void FrameClock::request(Task step) {
    expectOnLoop(loop_);
    steps_.push_back(std::move(step));
    if (!timer_.isPending() && !pacing_ && !stepping_) schedule();
}

bool FrameClock::mayDrawNow() {
    expectOnLoop(loop_);
    if (timer_.isPending() || pacing_ || stepping_) return false;
    const MediaTime now = clock_.mediaNow();
    if (lastFrame_ && now - *lastFrame_ < kFrameInterval) return false;
    lastFrame_ = now;
    return true;
}

// The timer repeats while views keep asking for frames, rather than one made each frame.
void FrameClock::schedule() {
    const Duration sinceLast = lastFrame_ ? clock_.mediaNow() - *lastFrame_ : kFrameInterval;
    timer_ = loop_.every(
        kFrameInterval, [this] { tick(); }, std::max(kFrameInterval - sinceLast, 0.0));
}

void FrameClock::tick() {
    // The frames keep their pace from when they were due, whatever the pacer waits.
    lastFrame_ = clock_.mediaNow();
    if (!pacer_) {
        frame();
        return;
    }
    pacing_ = true;
    pacer_(lifetime_.guard([this] { frame(); }));
    // The next frame is timed from the one the pacer holds, once it runs.
    if (pacing_) timer_.cancel();
}

void FrameClock::frame() {
    pacing_ = false;
    stepping_ = true;
    for (Task& step : std::exchange(steps_, {}))
        step();
    stepping_ = false;
    if (steps_.empty()) {
        timer_.cancel();
    } else if (!timer_.isPending()) {
        schedule();
    }
}

}  // namespace quillbern
