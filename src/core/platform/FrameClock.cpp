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

namespace {

// A frame this near a step's time stands for it: frames come a little early or late.
constexpr Duration kNear = FrameClock::kFrameInterval / 4;

}  // namespace

void FrameClock::request(Task step, std::optional<MediaTime> notBefore) {
    expectOnLoop(loop_);
    steps_.push_back({std::move(step), notBefore});
    if (pacing_ || stepping_) return;
    // A clock waiting for a later step is woken sooner for this one.
    if (!timer_.isPending() || firstDue() + kNear < nextTick_) schedule();
}

bool FrameClock::mayDrawNow() {
    expectOnLoop(loop_);
    if (pacing_ || stepping_) return false;
    const MediaTime now = clock_.mediaNow();
    if (timer_.isPending() && nextTick_ - now < kFrameInterval) return false;
    if (lastFrame_ && now - *lastFrame_ < kFrameInterval) return false;
    lastFrame_ = now;
    return true;
}

bool FrameClock::isDue(const Step& step, MediaTime frame) const {
    return !step.notBefore || *step.notBefore - frame <= kNear;
}

MediaTime FrameClock::firstDue() const {
    const MediaTime now = clock_.mediaNow();
    const MediaTime paced = lastFrame_ ? std::max(*lastFrame_ + kFrameInterval, now) : now;
    std::optional<MediaTime> first;
    for (const Step& step : steps_) {
        const MediaTime due = step.notBefore ? std::max(paced, *step.notBefore) : paced;
        if (!first || due < *first) first = due;
    }
    return first.value_or(paced);
}

// The timer repeats while views keep asking for frames, rather than one made each frame.
void FrameClock::schedule() {
    const MediaTime now = clock_.mediaNow();
    nextTick_ = firstDue();
    timer_ = loop_.every(
        kFrameInterval, [this] { tick(); }, std::max(nextTick_ - now, 0.0));
}

void FrameClock::tick() {
    // The frames keep their pace from when they were due, whatever the pacer waits.
    lastFrame_ = clock_.mediaNow();
    nextTick_ = *lastFrame_ + kFrameInterval;
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
    const MediaTime at = lastFrame_.value_or(clock_.mediaNow());
    std::vector<Step> due;
    for (Step& step : std::exchange(steps_, {}))
        (isDue(step, at) ? due : steps_).push_back(std::move(step));
    for (Step& step : due)
        step.task();
    stepping_ = false;
    if (steps_.empty()) {
        timer_.cancel();
    } else if (!timer_.isPending() || firstDue() - nextTick_ > kNear) {
        // Not woken for frames no step is due at.
        schedule();
    }
}

}  // namespace quillbern
