#pragma once

#include <optional>

#include "core/foundation/Time.h"
#include "core/platform/EasedValue.h"

namespace quillbern {

// The icon of a launching tile: out to its bounce offset and back, eased, again and
// again until the launch ends; then it eases back to rest from wherever it stands.
class BounceMotion {
public:
    // One way, out or back.
    static constexpr Animation kSwing{0.3, AnimationCurve::easeInOut};
    static constexpr Animation kSettle{0.18, AnimationCurve::easeOut};

    void setBouncing(bool bouncing, MediaTime now);
    bool isBouncing() const { return since_.has_value(); }

    // The share of the bounce offset at `now`: 0 at rest, 1 fully out.
    double value(MediaTime now) const;
    bool isMoving(MediaTime now) const;

private:
    std::optional<MediaTime> since_;
    EasedValue settle_;
};

}  // namespace quillbern
