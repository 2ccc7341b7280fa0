#include "core/dock/RevealGeometry.h"

#include <algorithm>

namespace quillbern::reveal {

DockEdge opposite(DockEdge edge) {
    switch (edge) {
        case DockEdge::bottom:
            return DockEdge::top;
        case DockEdge::top:
            return DockEdge::bottom;
        case DockEdge::left:
            return DockEdge::right;
        case DockEdge::right:
            return DockEdge::left;
    }
    return edge;
}

RectBL slidToward(DockEdge edge, const RectBL& frame, double distance) {
    switch (edge) {
        case DockEdge::bottom:
            return frame.offsetBy(0, -distance);
        case DockEdge::top:
            return frame.offsetBy(0, distance);
        case DockEdge::left:
            return frame.offsetBy(-distance, 0);
        case DockEdge::right:
            return frame.offsetBy(distance, 0);
    }
    return frame;
}

const ScreenInfo* neighbourScreen(DockEdge edge, const ScreenInfo& screen, std::span<const ScreenInfo> screens,
                                  std::optional<EdgeRange> span) {
    const RectBL& f = screen.frame;
    const bool horizontal = edge == DockEdge::bottom || edge == DockEdge::top;
    const double lower = span ? span->lower : (horizontal ? f.minX() : f.minY());
    const double upper = span ? span->upper : (horizontal ? f.maxX() : f.maxY());
    const double length = std::max(upper - lower, 1.0);
    RectBL probe;
    switch (edge) {
        case DockEdge::bottom:
            probe = {lower, f.minY() - kNeighbourProbe, length, kNeighbourProbe};
            break;
        case DockEdge::top:
            probe = {lower, f.maxY(), length, kNeighbourProbe};
            break;
        case DockEdge::left:
            probe = {f.minX() - kNeighbourProbe, lower, kNeighbourProbe, length};
            break;
        case DockEdge::right:
            probe = {f.maxX(), lower, kNeighbourProbe, length};
            break;
    }
    for (const ScreenInfo& other : screens) {
        if (&other != &screen && other.frame.intersectsWithArea(probe)) return &other;
    }
    return nullptr;
}

RectBL revealZone(DockEdge edge, const ScreenInfo& screen, bool beyond, bool facingDock) {
    const RectBL& f = screen.frame;
    const RectBL& v = screen.visibleFrame;
    const double extra = beyond && facingDock ? 0 : kSeamDepth;
    const double alongX = f.minX() + kZoneCornerInset;
    const double alongY = f.minY() + kZoneCornerInset;
    const double width = f.width - 2 * kZoneCornerInset;
    const double height = f.height - 2 * kZoneCornerInset;
    switch (edge) {
        case DockEdge::bottom:
            if (!beyond) return {alongX, f.minY(), width, kFreeEdgeDepth};
            return {alongX, f.minY() - extra, width, kSeamDepth + extra};
        case DockEdge::top: {
            const double menuBar = f.maxY() - v.maxY() + kFreeEdgeDepth;
            return {alongX, v.maxY() - kFreeEdgeDepth, width, beyond ? menuBar + extra : menuBar};
        }
        case DockEdge::left:
            if (!beyond) return {f.minX(), alongY, kFreeEdgeDepth, height};
            return {f.minX() - extra, alongY, kSeamDepth + extra, height};
        case DockEdge::right:
            if (!beyond) return {f.maxX() - kFreeEdgeDepth, alongY, kFreeEdgeDepth, height};
            return {f.maxX() - kSeamDepth, alongY, kSeamDepth + extra, height};
    }
    return RectBL::null();
}

RectBL memberStrip(DockEdge edge, const RectBL& zone, const RectBL& panelFrame, const RectBL& screenFrame) {
    if (edge == DockEdge::bottom || edge == DockEdge::top) {
        const double start = std::max(panelFrame.minX() - kFrameMargin, screenFrame.minX() + kFrameMargin);
        const double end = std::min(panelFrame.maxX() + kFrameMargin, screenFrame.maxX() - kFrameMargin);
        if (start >= end) return RectBL::null();
        return {start, zone.y, end - start, zone.height};
    }
    const double start = std::max(panelFrame.minY() - kFrameMargin, screenFrame.minY() + kFrameMargin);
    const double end = std::min(panelFrame.maxY() + kFrameMargin, screenFrame.maxY() - kFrameMargin);
    if (start >= end) return RectBL::null();
    return {zone.x, start, zone.width, end - start};
}

double alongEdge(DockEdge edge, PointBL p) {
    return edge == DockEdge::bottom || edge == DockEdge::top ? p.x : p.y;
}

EdgeRange rangeAlong(DockEdge edge, const RectBL& frame) {
    if (edge == DockEdge::bottom || edge == DockEdge::top) return {frame.minX(), frame.maxX()};
    return {frame.minY(), frame.maxY()};
}

bool inContactStrip(PointBL p, DockEdge edge, const ScreenInfo& screen, const RectBL& zone) {
    const RectBL& f = screen.frame;
    if (!mouseInRect(p, f)) return false;
    switch (edge) {
        case DockEdge::bottom:
            return p.y - f.minY() <= zone.height;
        case DockEdge::top:
            return f.maxY() - p.y <= zone.height;
        case DockEdge::left:
            return p.x - f.minX() <= zone.width;
        case DockEdge::right:
            return f.maxX() - p.x <= zone.width;
    }
    return false;
}

bool beyondEdge(PointBL p, DockEdge edge, const RectBL& f) {
    switch (edge) {
        case DockEdge::bottom:
            return f.minY() - p.y > 0;
        case DockEdge::top:
            return p.y - f.maxY() > 0;
        case DockEdge::left:
            return f.minX() - p.x > 0;
        case DockEdge::right:
            return p.x - f.maxX() > 0;
    }
    return false;
}

}  // namespace quillbern::reveal
