#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"

namespace quillbern {

// Run-time key of a display: the RandR output on Linux. Changes when the display is
// re-plugged, so the dock model stores the stable id instead.
using DisplayId = std::uint32_t;

struct ScreenInfo {
    std::optional<DisplayId> id;
    std::optional<std::string> stableId;
    std::string name;
    RectBL frame;         // screen space
    RectBL visibleFrame;  // the frame less the space other clients reserve at its edges
    double scale = 1;
    bool operator==(const ScreenInfo&) const = default;
};

// The displays of the desktop. A screen without id or stableId gets no docks.
class Screens {
public:
    virtual ~Screens() = default;

    // Primary first. Any thread.
    virtual std::vector<ScreenInfo> screens() const = 0;
    // The screen of the active window, else the primary; none without screens.
    virtual std::optional<ScreenInfo> mainScreen() const = 0;
    // [main] Once per change of the displays (added, removed, moved, visible frame changed).
    [[nodiscard]] virtual Subscription onChanged(Task task) = 0;
};

}  // namespace quillbern
