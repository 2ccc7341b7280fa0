#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/foundation/Geometry.h"

namespace quillbern {

// Space a client reserves along the edges of the whole X screen (EWMH struts), in root
// coordinates: how far each band reaches in from its screen edge, and where along that
// edge it runs (inclusive pixel bounds).
struct Strut {
    struct Band {
        double depth = 0;
        double start = 0;
        double end = 0;
    };
    Band left, right, top, bottom;

    // The twelve values of _NET_WM_STRUT_PARTIAL; nullopt for any other count.
    static std::optional<Strut> fromPartial(const std::vector<std::uint32_t>& values);
    // The four values of the older _NET_WM_STRUT, which name no run: each band runs along
    // the window that holds it (root coordinates), as window managers take it, so a bar on
    // one monitor reserves nothing on the monitor beside it.
    static std::optional<Strut> fromFull(const std::vector<std::uint32_t>& values, RectTL window);
};

// A monitor's rectangle (root coordinates) less the struts that stand on it. A band stands
// on a monitor when its inner edge lies on the monitor and its run overlaps it, so a panel
// at the inner side of a seam shrinks only the monitor it is on.
RectTL visibleArea(RectTL monitor, Size root, const std::vector<Strut>& struts);

// The monitor's rectangle cut by the window manager's work area (_NET_WORKAREA), which is
// one rectangle for the whole root. A side's cut counts for a monitor only when that
// monitor is the only one reaching past the cut line: where several do, the rectangle
// cannot tell on which of them the panel behind the cut stands (a bar on one of two
// monitors side by side cuts the work area of both), so it counts for none of them.
RectTL workAreaOn(RectTL monitor, const std::vector<RectTL>& monitors, RectTL workArea);

}  // namespace quillbern
