#pragma once

#include <optional>
#include <span>

#include "core/foundation/Geometry.h"
#include "core/model/DockEdge.h"
#include "core/platform/Screens.h"

namespace quillbern {

// Where the pointer wakes a hidden dock, in screen space. A free edge answers on a thin
// strip at the very edge; at a seam with another display the pointer does not stop at
// the edge, so the strip is deeper and reaches onto the neighbour unless a dock faces it
// there.
namespace reveal {

// A panel's frame grown by this counts as at the dock; a member's strip reaches this far
// past the panel's ends and stops this far short of the screen's ends.
inline constexpr double kFrameMargin = 12;
inline constexpr double kZoneCornerInset = 64;
inline constexpr double kFreeEdgeDepth = 3;
inline constexpr double kSeamDepth = 12;
inline constexpr double kNeighbourProbe = 2;
// How far a panel slides towards its edge when it hides, and from where it comes back.
inline constexpr double kSlideDistance = 14;

// The closed range of coordinates along an edge (x for bottom and top, y for left and right).
struct EdgeRange {
    double lower = 0;
    double upper = 0;
};

DockEdge opposite(DockEdge edge);

// The frame moved `distance` points towards the edge.
RectBL slidToward(DockEdge edge, const RectBL& frame, double distance);

// The first other screen touching a thin probe just outside the edge, along `span` or the
// whole side; null when none.
const ScreenInfo* neighbourScreen(DockEdge edge, const ScreenInfo& screen, std::span<const ScreenInfo> screens,
                                  std::optional<EdgeRange> span);

// The reveal zone of the edge; `beyond` says a display lies beyond it, `facingDock` that
// this display has a dock on the facing edge.
RectBL revealZone(DockEdge edge, const ScreenInfo& screen, bool beyond, bool facingDock);

// The zone cut down along the edge to one panel's span; null when nothing is left.
RectBL memberStrip(DockEdge edge, const RectBL& zone, const RectBL& panelFrame, const RectBL& screenFrame);

// The point's coordinate along the edge.
double alongEdge(DockEdge edge, PointBL p);
// The stretch of the edge the frame covers.
EdgeRange rangeAlong(DockEdge edge, const RectBL& frame);
// The point is on the screen no deeper in from the edge than the zone reaches, anywhere
// along the edge: sliding along the edge past a dock's ends stays in contact with it.
bool inContactStrip(PointBL p, DockEdge edge, const ScreenInfo& screen, const RectBL& zone);
// The point lies past the edge, off the screen.
bool beyondEdge(PointBL p, DockEdge edge, const RectBL& screenFrame);

}  // namespace reveal
}  // namespace quillbern
