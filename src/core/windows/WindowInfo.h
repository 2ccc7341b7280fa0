#pragma once

#include <string>

#include "core/foundation/Geometry.h"
#include "core/platform/Screens.h"
#include "core/platform/Types.h"

namespace quillbern {

// One window of another application as the last reconciliation saw it. Equality compares
// every field; identity is `id` alone.
struct WindowInfo {
    WindowId id = 0;
    Pid pid = 0;
    std::string appName;
    std::string title;
    bool isMinimized = false;
    bool isFullscreen = false;
    bool isOnScreen = false;
    // Its application's focused window, and that application is frontmost.
    bool isFocused = false;
    bool isAppMain = false;
    // The display holding the centre of `frame`; the main display for a null frame.
    DisplayId displayID = 0;
    // Top-left global coordinates; null when no bounds could be read.
    RectTL frame = RectTL::null();

    bool operator==(const WindowInfo&) const = default;
};

}  // namespace quillbern
