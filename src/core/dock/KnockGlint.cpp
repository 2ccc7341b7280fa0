#include "core/dock/KnockGlint.h"

#include <algorithm>

namespace quillbern::glint {

RectBL frame(DockEdge edge, std::optional<reveal::EdgeRange> span, const ScreenInfo& screen) {
    const RectBL& f = screen.frame;
    const RectBL& v = screen.visibleFrame;
    const bool horizontal = edge == DockEdge::bottom || edge == DockEdge::top;
    double centre = horizontal ? f.midX() : f.midY();
    double length = kUnknownLength;
    if (span) {
        centre = (span->lower + span->upper) / 2;
        length = std::clamp(span->upper - span->lower, kShortest, kLongest);
    }
    const double lowest = horizontal ? f.minX() : f.minY();
    const double highest = horizontal ? f.maxX() : f.maxY();
    // The upper bound last: a glint longer than the screen keeps to its far end.
    const double start = std::min(std::max(centre - length / 2, lowest + kEndInset), highest - length - kEndInset);
    switch (edge) {
        case DockEdge::bottom:
            return {start, f.minY() + kEdgeInset, length, kThickness};
        case DockEdge::top:
            return {start, std::min(v.maxY(), f.maxY()) - kThickness - kEdgeInset, length, kThickness};
        case DockEdge::left:
            return {f.minX() + kEdgeInset, start, kThickness, length};
        case DockEdge::right:
            return {f.maxX() - kThickness - kEdgeInset, start, kThickness, length};
    }
    return RectBL::null();
}

}  // namespace quillbern::glint
