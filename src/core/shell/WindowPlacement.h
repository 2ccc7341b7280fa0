#pragma once

#include <optional>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/platform/Screens.h"

namespace quillbern {

// The screen the user works on: the one under the pointer, else the primary; null without
// screens.
const ScreenInfo* workingScreen(const std::vector<ScreenInfo>& screens, PointBL pointer);

// Where the Settings window first opens: centred on the working screen's visible frame, its
// content at most 940 × 780 points and 120 × 100 points smaller than that frame. None
// without screens or on a frame too small for it, where the window keeps its own size.
std::optional<RectBL> settingsWindowFrame(const std::vector<ScreenInfo>& screens, PointBL pointer);
// Where the Settings window opens again, hidden with the frame `left`: there while most of
// it lies on the working screen, else where it first opens on that screen.
std::optional<RectBL> settingsWindowFrame(const std::vector<ScreenInfo>& screens, PointBL pointer, const RectBL& left);

// A window of this size centred on the working screen's visible frame; none without screens.
std::optional<RectBL> centredWindowFrame(const std::vector<ScreenInfo>& screens, PointBL pointer, Size size);

}  // namespace quillbern
