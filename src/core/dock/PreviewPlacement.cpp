#include "core/dock/PreviewPlacement.h"

#include <algorithm>

namespace quillbern::preview {

RectBL frame(DockEdge edge, PointBL pointer, const RectBL& dock, std::optional<RectBL> visibleFrame) {
    const double w = kPanelSize.width;
    const double h = kPanelSize.height;
    RectBL placed;
    RectBL otherSide;
    switch (edge) {
        case DockEdge::bottom:
            placed = {pointer.x - w / 2, dock.maxY() + kGap, w, h};
            otherSide = {0, dock.minY() - h - kGap, w, h};
            break;
        case DockEdge::top:
            placed = {pointer.x - w / 2, dock.minY() - h - kGap, w, h};
            otherSide = {0, dock.maxY() + kGap, w, h};
            break;
        case DockEdge::left:
            placed = {dock.maxX() + kGap, pointer.y - h / 2, w, h};
            otherSide = {dock.minX() - w - kGap, 0, w, h};
            break;
        case DockEdge::right:
            placed = {dock.minX() - w - kGap, pointer.y - h / 2, w, h};
            otherSide = {dock.maxX() + kGap, 0, w, h};
            break;
    }
    if (!visibleFrame) return placed;
    const RectBL& vf = *visibleFrame;
    placed.x = std::min(std::max(placed.x, vf.minX() + kScreenMargin), vf.maxX() - w - kScreenMargin);
    placed.y = std::min(std::max(placed.y, vf.minY() + kScreenMargin), vf.maxY() - h - kScreenMargin);
    if (!placed.intersectsWithArea(dock)) return placed;
    // Only the coordinate across the dock changes sides.
    if (edge == DockEdge::bottom || edge == DockEdge::top) {
        otherSide.x = placed.x;
    } else {
        otherSide.y = placed.y;
    }
    return vf.containsRect(otherSide) ? otherSide : placed;
}

}  // namespace quillbern::preview
