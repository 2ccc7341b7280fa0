#include "core/platform/PanelAnimator.h"

#include <algorithm>
#include <utility>

namespace quillbern {

namespace {

double mix(double from, double to, double p) {
    return from + (to - from) * p;
}

}  // namespace

PanelAnimator::PanelAnimator(FrameClock& frames, Apply apply) : frames_(frames), apply_(std::move(apply)) {}

PanelAnimator::~PanelAnimator() {
    if (running_ && onDone_) frames_.loop().post(std::move(onDone_));
}

double PanelAnimator::progress(AnimationCurve curve, double t) {
    t = std::clamp(t, 0.0, 1.0);
    switch (curve) {
        case AnimationCurve::linear:
            return t;
        case AnimationCurve::easeIn:
            return t * t;
        case AnimationCurve::easeOut:
            return 1 - (1 - t) * (1 - t);
        case AnimationCurve::easeInOut:
            return t * t * (3 - 2 * t);
    }
    return t;
}

void PanelAnimator::start(Animation animation, double fromAlpha, RectBL fromFrame, std::optional<double> toAlpha,
                          std::optional<RectBL> toFrame, Task onDone) {
    if (running_) finish();
    running_ = true;
    animation_ = animation;
    start_ = frames_.clock().mediaNow();
    fromAlpha_ = fromAlpha;
    fromFrame_ = fromFrame;
    toAlpha_ = toAlpha;
    toFrame_ = toFrame;
    onDone_ = std::move(onDone);
    if (animation.duration <= 0 || (!toAlpha && !toFrame)) {
        apply_(toAlpha_, toFrame_);
        finish();
        return;
    }
    askStep();
    // The last step lands exactly at the end, not on the next frame after it.
    end_ = frames_.loop().after(animation.duration, [this] {
        apply_(toAlpha_, toFrame_);
        finish();
    });
}

void PanelAnimator::releaseAlpha() {
    toAlpha_.reset();
    if (running_ && !toFrame_) finish();
}

void PanelAnimator::releaseFrame() {
    toFrame_.reset();
    if (running_ && !toAlpha_) finish();
}

// One step asked at a time, which an animation started meanwhile takes over.
void PanelAnimator::askStep() {
    if (stepAsked_) return;
    stepAsked_ = true;
    frames_.request(lifetime_.guard([this] {
        stepAsked_ = false;
        if (running_) step();
    }));
}

void PanelAnimator::step() {
    const double t = (frames_.clock().mediaNow() - start_) / animation_.duration;
    if (t >= 1) return;  // the end timer applies the final values
    askStep();
    const double p = progress(animation_.curve, t);
    std::optional<double> alpha;
    std::optional<RectBL> frame;
    if (toAlpha_) alpha = mix(fromAlpha_, *toAlpha_, p);
    if (toFrame_) {
        frame = RectBL{mix(fromFrame_.x, toFrame_->x, p), mix(fromFrame_.y, toFrame_->y, p),
                       mix(fromFrame_.width, toFrame_->width, p), mix(fromFrame_.height, toFrame_->height, p)};
    }
    apply_(alpha, frame);
}

void PanelAnimator::finish() {
    running_ = false;
    end_.cancel();
    toAlpha_.reset();
    toFrame_.reset();
    if (onDone_) frames_.loop().post(std::exchange(onDone_, nullptr));
}

}  // namespace quillbern
