#pragma once

#include <optional>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/platform/Types.h"

namespace quillbern {

// One entry of the window system's list of on-screen windows.
struct ListedWindow {
    WindowId id = 0;
    // 0 holds ordinary application windows; menus, docks and overlays sit on others.
    int layer = 0;
    std::optional<RectTL> bounds;
};

// What is on screen right now. Any thread.
class WindowList {
public:
    virtual ~WindowList() = default;

    // On-screen windows without desktop elements, front to back; nullopt when unreadable.
    virtual std::optional<std::vector<ListedWindow>> onScreenWindows() const = 0;
};

}  // namespace quillbern
