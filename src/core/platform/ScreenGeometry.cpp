#include "core/platform/ScreenGeometry.h"

namespace quillbern {

double flipHeight(const std::vector<ScreenInfo>& screens) {
    return screens.empty() ? 0 : screens.front().frame.height;
}

const ScreenInfo* screenContaining(PointBL p, const std::vector<ScreenInfo>& screens) {
    for (const ScreenInfo& screen : screens) {
        if (mouseInRect(p, screen.frame)) return &screen;
    }
    return nullptr;
}

const ScreenInfo* bestScreen(const RectBL& rect, const std::vector<ScreenInfo>& screens) {
    const ScreenInfo* best = nullptr;
    double bestArea = 0;
    for (const ScreenInfo& screen : screens) {
        const double area = screen.frame.intersection(rect).area();
        if (!best || area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    return best;
}

RectTL DesktopSpace::toGlobal(RectTL desktop) const {
    return desktop.offsetBy(-primary_.x, -primary_.y);
}

PointTL DesktopSpace::fromGlobal(PointTL global) const {
    return {global.x + primary_.x, global.y + primary_.y};
}

RectBL DesktopSpace::toScreen(RectTL desktop) const {
    return toBottomLeft(toGlobal(desktop), primary_.height);
}

PointBL DesktopSpace::toScreen(PointTL desktop) const {
    return toBottomLeft(PointTL{desktop.x - primary_.x, desktop.y - primary_.y}, primary_.height);
}

RectTL DesktopSpace::toDesktop(RectBL screen) const {
    return toTopLeft(screen, primary_.height).offsetBy(primary_.x, primary_.y);
}

}  // namespace quillbern
