#pragma once

#include <string>
#include <vector>

#include "sim/SimDockWorld.h"

namespace quillbern::testing {

inline constexpr DisplayId kLeft = 1;
inline constexpr DisplayId kRight = 2;

// The primary (1920 x 1080, visible frame without a 30-point top bar) and to its right a
// 1280 x 1024 display with its bottom edge level.
std::vector<ScreenInfo> twoScreens();
DisplayAssignment onDisplay(const std::string& stableId);

// The docks' simulated machine on the two displays.
class DockTestWorld : public SimDockWorld {
public:
    DockTestWorld() { world.screens.setScreens(twoScreens()); }

    std::size_t openPanels() const { return world.panels.openCount(); }
};

}  // namespace quillbern::testing
