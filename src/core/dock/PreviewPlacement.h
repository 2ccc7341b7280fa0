#pragma once

#include <optional>

#include "core/foundation/Geometry.h"
#include "core/foundation/Time.h"
#include "core/model/DockEdge.h"

namespace quillbern::preview {

inline constexpr Size kPanelSize{340, 250};
inline constexpr double kGap = 6;
inline constexpr double kScreenMargin = 8;
inline constexpr Duration kHideDelay = 0.15;

// Where the hover preview stands beside a dock: centred on the pointer along the dock,
// 6 points off it on the screen's side, then kept 8 points inside the visible frame when
// known. When that pushes it onto the dock it goes to the dock's other side, but only
// where it fits there; otherwise it stays where the screen keeps it.
RectBL frame(DockEdge edge, PointBL pointer, const RectBL& dock, std::optional<RectBL> visibleFrame);

}  // namespace quillbern::preview
