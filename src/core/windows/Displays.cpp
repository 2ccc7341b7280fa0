#include "core/windows/Displays.h"

#include "core/platform/ScreenGeometry.h"

namespace quillbern {

DisplayId mainDisplayID(const std::vector<ScreenInfo>& screens) {
    return screens.empty() ? 0 : screens.front().id.value_or(0);
}

DisplayId displayIDForWindowBounds(const std::vector<ScreenInfo>& screens, const RectTL& bounds) {
    const double height = flipHeight(screens);
    const PointTL centre = bounds.center();
    for (const ScreenInfo& screen : screens) {
        // Half-open in the window space, where the centre was measured.
        if (screen.id && toTopLeft(screen.frame, height).contains(centre)) return *screen.id;
    }
    return mainDisplayID(screens);
}

}  // namespace quillbern
