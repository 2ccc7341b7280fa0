#include "core/shell/WindowPlacement.h"

#include <algorithm>

#include "core/platform/ScreenGeometry.h"

namespace quillbern {

namespace {

constexpr Size kLargestSettings{940, 780};
constexpr Size kSettingsMargin{120, 100};

RectBL centredIn(const RectBL& area, Size size) {
    return {area.midX() - size.width / 2, area.midY() - size.height / 2, size.width, size.height};
}

}  // namespace

const ScreenInfo* workingScreen(const std::vector<ScreenInfo>& screens, PointBL pointer) {
    if (const ScreenInfo* under = screenContaining(pointer, screens)) return under;
    return screens.empty() ? nullptr : &screens.front();
}

std::optional<RectBL> settingsWindowFrame(const std::vector<ScreenInfo>& screens, PointBL pointer) {
    const ScreenInfo* screen = workingScreen(screens, pointer);
    if (!screen) return std::nullopt;
    const RectBL& visible = screen->visibleFrame;
    const Size size{std::min(visible.width - kSettingsMargin.width, kLargestSettings.width),
                    std::min(visible.height - kSettingsMargin.height, kLargestSettings.height)};
    if (size.width <= 0 || size.height <= 0) return std::nullopt;
    return centredIn(visible, size);
}

std::optional<RectBL> settingsWindowFrame(const std::vector<ScreenInfo>& screens, PointBL pointer, const RectBL& left) {
    const ScreenInfo* screen = workingScreen(screens, pointer);
    if (screen && screen == bestScreen(left, screens)) return left;
    return settingsWindowFrame(screens, pointer);
}

std::optional<RectBL> centredWindowFrame(const std::vector<ScreenInfo>& screens, PointBL pointer, Size size) {
    const ScreenInfo* screen = workingScreen(screens, pointer);
    if (!screen) return std::nullopt;
    return centredIn(screen->visibleFrame, size);
}

}  // namespace quillbern
