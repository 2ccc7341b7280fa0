#pragma once

#include <vector>

#include "core/foundation/Geometry.h"
#include "core/platform/Screens.h"

namespace quillbern {

// The primary display's identifier; 0 without displays.
DisplayId mainDisplayID(const std::vector<ScreenInfo>& screens);

// The display holding the centre of `bounds` (top-left global coordinates); the main
// display when none does.
DisplayId displayIDForWindowBounds(const std::vector<ScreenInfo>& screens, const RectTL& bounds);

}  // namespace quillbern
