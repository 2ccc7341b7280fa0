#pragma once

#include <vector>

#include "core/foundation/Geometry.h"
#include "core/platform/Screens.h"

namespace quillbern {

// Height that flips between screen space and top-left global space: the primary's
// height, 0 without screens.
double flipHeight(const std::vector<ScreenInfo>& screens);

// The first screen whose frame holds the point by the pointer rule (mouseInRect), or null.
const ScreenInfo* screenContaining(PointBL p, const std::vector<ScreenInfo>& screens);

// The screen whose frame shares the largest area with the rectangle; a later screen wins
// only with a strictly larger one, so the first wins ties, also when no screen touches the
// rectangle. Null without screens.
const ScreenInfo* bestScreen(const RectBL& rect, const std::vector<ScreenInfo>& screens);

// A desktop's own coordinates (y down, origin wherever the system puts it, as X root
// coordinates) against the core's spaces, fixed by the primary display's rectangle in
// desktop coordinates.
class DesktopSpace {
public:
    DesktopSpace() = default;
    explicit DesktopSpace(RectTL primaryInDesktop) : primary_(primaryInDesktop) {}

    RectBL toScreen(RectTL desktop) const;
    PointBL toScreen(PointTL desktop) const;
    RectTL toDesktop(RectBL screen) const;
    // Top-left global space: the desktop shifted so the primary's corner is the origin.
    RectTL toGlobal(RectTL desktop) const;
    PointTL fromGlobal(PointTL global) const;

    const RectTL& primary() const { return primary_; }
    bool operator==(const DesktopSpace&) const = default;

private:
    RectTL primary_;
};

}  // namespace quillbern
