#pragma once

#include <functional>
#include <optional>

#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Uuid.h"
#include "core/platform/Screens.h"

namespace quillbern {

class Alerts;
class AppCatalog;
class AppearanceStore;
class AXPermission;
class Clock;
class FileSystem;
class FolderEvents;
class Launcher;
class LocationBrowser;
class PinnedStore;
class RunningApps;
class SystemAppearance;
class WindowEngine;
class WorkspaceMembers;
struct PinnedApp;
struct WindowInfo;

// One dock's bar on one display; the view reads the stores and follows their changes.
struct DockContent {
    [[no_unique_address]] FilledByName<DockContent> byName{};
    WindowEngine* engine = nullptr;
    PinnedStore* pinned = nullptr;
    AppearanceStore* appearance = nullptr;
    SystemAppearance* system = nullptr;
    // Asked when the user wants the running applications listed without window access.
    AXPermission* permission = nullptr;
    // Hides and quits applications for their tiles' menus.
    RunningApps* apps = nullptr;
    // For the view's delays and animations.
    RunLoop* mainLoop = nullptr;
    const Clock* clock = nullptr;
    // Files dropped on the dock, the Trash tile and its watch.
    FileSystem* files = nullptr;
    FolderEvents* folders = nullptr;
    AppCatalog* catalog = nullptr;
    Launcher* launcher = nullptr;
    Alerts* alerts = nullptr;
    Uuid profile;
    DisplayId display = 0;

    // What the dock's owner hears of its tiles; each may stay unset. The view only hands
    // them on to its tiles.
    // The pointer came onto a tile whose application has this window to preview, or left.
    std::function<void(const std::optional<WindowInfo>&)> onHoverTile;
    // While true, something the dock opened needs it to stay out (one count per call).
    std::function<void(bool)> onInteractionLock;
    // A pinned application that did not run was started from the dock.
    std::function<void(const PinnedApp&)> onColdLaunch;

    // Whose members the tiles' menus offer to take out; may be absent.
    WorkspaceMembers* workspace = nullptr;
    // Lists pinned folders for their popovers; none opens no popover.
    LocationBrowser* locations = nullptr;
};

}  // namespace quillbern
