#pragma once

#include <optional>

#include "core/foundation/Geometry.h"

namespace quillbern {

// What one veil panel last drew, so that the panel draws only what changed: a moved hole
// redraws the dimming's cut-out, the ring and the blur; a new intensity alone only the
// dimming's opacity; an unchanged update nothing. Main thread.
class VeilModel {
public:
    struct Changes {
        bool hole = false;
        bool intensity = false;
        bool any() const { return hole || intensity; }
    };

    explicit VeilModel(RectBL coveredFrame) : coveredFrame_(coveredFrame) {}

    // The hole in screen space, or none; the dimming's opacity. The first update always
    // draws.
    Changes update(const std::optional<RectBL>& holeGlobal, double intensity);

    // The hole as the panel's view sees it: y down from the panel's top-left corner, whole
    // even where it reaches past the panel's edges. None when the hole is absent or shares
    // no area with the covered frame: the panel is dimmed all over, without a ring.
    static std::optional<Rect> localHole(const RectBL& coveredFrame, const std::optional<RectBL>& holeGlobal);

    const RectBL& coveredFrame() const { return coveredFrame_; }
    const std::optional<Rect>& hole() const { return hole_; }
    // Negative until the first update.
    double intensity() const { return intensity_; }

private:
    RectBL coveredFrame_;
    std::optional<Rect> hole_;
    bool holeDrawn_ = false;
    double intensity_ = -1;
};

}  // namespace quillbern
