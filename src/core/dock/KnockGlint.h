#pragma once

#include <optional>

#include "core/dock/RevealGeometry.h"
#include "core/platform/PanelHost.h"

namespace quillbern::glint {

inline constexpr double kThickness = 16;
inline constexpr double kShortest = 120;
inline constexpr double kLongest = 320;
inline constexpr double kUnknownLength = 240;
// Kept between the glint and the screen's ends, and between the glint and its edge.
inline constexpr double kEndInset = 4;
inline constexpr double kEdgeInset = 2;
inline constexpr Animation kFadeIn{0.15, AnimationCurve::easeInOut};
inline constexpr Animation kFadeOut{0.18, AnimationCurve::easeInOut};

// Where the glint of an armed knock lies: along the edge where the hidden docks stand
// (`span`), as long as they are within bounds, or centred on the edge when unknown; on a
// top edge just under the bar at the top of the screen.
RectBL frame(DockEdge edge, std::optional<reveal::EdgeRange> span, const ScreenInfo& screen);

}  // namespace quillbern::glint
