#include "core/workspace/VeilModel.h"

namespace quillbern {

std::optional<Rect> VeilModel::localHole(const RectBL& coveredFrame, const std::optional<RectBL>& holeGlobal) {
    if (!holeGlobal || !holeGlobal->intersectsWithArea(coveredFrame)) return std::nullopt;
    return Rect{holeGlobal->minX() - coveredFrame.minX(), coveredFrame.maxY() - holeGlobal->maxY(), holeGlobal->width,
                holeGlobal->height};
}

VeilModel::Changes VeilModel::update(const std::optional<RectBL>& holeGlobal, double intensity) {
    const std::optional<Rect> hole = localHole(coveredFrame_, holeGlobal);
    Changes changes;
    changes.hole = !holeDrawn_ || hole != hole_;
    changes.intensity = intensity != intensity_;
    if (changes.hole) {
        holeDrawn_ = true;
        hole_ = hole;
    }
    if (changes.intensity) intensity_ = intensity;
    return changes;
}

}  // namespace quillbern
