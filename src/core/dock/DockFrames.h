#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/model/Profile.h"
#include "core/platform/Screens.h"
#include "core/windows/WindowInfo.h"

namespace quillbern {

// How many running applications a dock lists after its pinned items: one per process
// among `windows` (in the order of its first window) that has a running application
// whose owner is not in `excludedOwners`.
using TransientAppCount =
    std::function<std::size_t(std::span<const WindowInfo> windows, const std::set<std::string>& excludedOwners)>;

// Everything besides the screen and the dock that decides a dock's frame.
struct DockFrameInputs {
    double tileSize = 0;
    bool showsLabels = false;
    // Window access granted: running applications can be listed.
    bool isTrusted = false;
    // The window snapshot, every display.
    std::span<const WindowInfo> windows;
    TransientAppCount transientApps;
};

struct StackedFrame {
    Profile profile;
    RectBL frame;
};

// Where one dock stands on a screen with this visible frame, `stackOffset` points further
// from its edge than a lone dock. Screen space.
RectBL dockFrame(const RectBL& visibleFrame, const Profile& profile, DisplayId display, double stackOffset,
                 const DockFrameInputs& inputs);

// The docks among `visibleProfiles` that stand on the screen, edge by edge, the one that
// hugs the edge first. At most two per edge: a dock of this display before one of every
// display, otherwise in list order.
std::vector<StackedFrame> stackedFrames(std::span<const Profile> visibleProfiles, const RectBL& visibleFrame,
                                        DisplayId display, const std::string& stableID, const DockFrameInputs& inputs);

}  // namespace quillbern
