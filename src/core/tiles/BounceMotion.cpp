#include "core/tiles/BounceMotion.h"

#include <algorithm>
#include <cmath>

#include "core/platform/PanelAnimator.h"

namespace quillbern {

void BounceMotion::setBouncing(bool bouncing, MediaTime now) {
    if (bouncing == isBouncing()) return;
    if (bouncing) {
        since_ = now;
        settle_.set(0);
        return;
    }
    settle_.set(value(now));
    since_.reset();
    settle_.animateTo(0, kSettle, now);
}

double BounceMotion::value(MediaTime now) const {
    if (!since_) return settle_.value(now);
    // Out in the even swings, back in the odd ones.
    const double swings = std::max(0.0, now - *since_) / kSwing.duration;
    const double within = swings - std::floor(swings);
    const bool outward = static_cast<long long>(std::floor(swings)) % 2 == 0;
    const double progress = PanelAnimator::progress(kSwing.curve, within);
    return outward ? progress : 1 - progress;
}

bool BounceMotion::isMoving(MediaTime now) const {
    return since_.has_value() || settle_.isMoving(now);
}

}  // namespace quillbern
