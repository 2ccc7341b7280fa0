#pragma once

#include <optional>
#include <set>
#include <span>
#include <vector>

#include "core/model/Profile.h"
#include "core/platform/Screens.h"
#include "core/platform/Types.h"
#include "core/windows/WindowInfo.h"

namespace quillbern {

// The windows on one display, in the order given.
std::vector<WindowInfo> windowsOnDisplay(std::span<const WindowInfo> windows, DisplayId display);

// The identities of the dock's pinned applications.
std::set<AppId> pinnedBundleIDs(const Profile& profile);

// The process owning the first focused window, on any display.
std::optional<Pid> focusedPID(std::span<const WindowInfo> windows);

// The window of an application that its tile acts on: among its windows on `display`
// (all of them when it has none there), the focused one, else the first that is not
// minimised, else the first.
std::optional<WindowInfo> bestWindow(std::span<const WindowInfo> windows, DisplayId display);

}  // namespace quillbern
