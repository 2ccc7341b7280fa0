#include "core/platform/EasedValue.h"

#include "core/platform/PanelAnimator.h"

namespace quillbern {

void EasedValue::animateTo(double target, Animation animation, MediaTime now) {
    if (target == to_) return;
    from_ = value(now);
    to_ = target;
    start_ = now;
    animation_ = animation;
}

void EasedValue::set(double value) {
    from_ = to_ = value;
    animation_ = {};
}

double EasedValue::value(MediaTime now) const {
    if (!isMoving(now)) return to_;
    const double t = (now - start_) / animation_.duration;
    return from_ + (to_ - from_) * PanelAnimator::progress(animation_.curve, t);
}

bool EasedValue::isMoving(MediaTime now) const {
    return animation_.duration > 0 && from_ != to_ && now - start_ < animation_.duration;
}

}  // namespace quillbern
