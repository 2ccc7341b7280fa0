#pragma once

#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "core/model/PinnedStore.h"
#include "core/model/TransientDockApps.h"
#include "core/platform/RunningApps.h"
#include "core/tiles/AppTile.h"
#include "core/tiles/DockViewModel.h"
#include "core/tiles/WorkspaceMembers.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// Builds the application tiles of one dock from the stores: the pinned applications'
// tiles and those of the running applications that are not pinned, one tile for all the
// processes of one application. A click brings the application's best window forward, or
// starts a pinned application that shows none; hovering hands that window to the dock's
// owner; the menu lists the windows and offers to open, hide, quit, pin or remove. Main
// thread.
class AppTiles {
public:
    // What the dock's owner hears of its application tiles; each may stay unset.
    struct Hooks {
        std::function<void(const std::optional<WindowInfo>&)> onHoverTile;
        std::function<void(const PinnedApp&)> onColdLaunch;
    };

    // The menus offer to take the workspace's members out of it, when there is one.
    AppTiles(const DockViewModel& model, WindowEngine& engine, PinnedStore& pinned, RunningApps& apps, Hooks hooks,
             WorkspaceMembers* workspace = nullptr);
    AppTiles(const AppTiles&) = delete;
    AppTiles& operator=(const AppTiles&) = delete;

    AppTile pinnedAppTile(const PinnedApp& app) const;
    AppTile transientTile(const TransientDockApp& entry) const;

private:
    // The snapshot's windows of these processes, on every display, in snapshot order.
    std::vector<WindowInfo> windowsOf(const std::function<bool(Pid)>& owns) const;
    std::function<void(bool)> hoverAction(std::optional<WindowInfo> best) const;
    void endHover() const;
    // Starts the application; a start from cold shows the launch beacon.
    void launch(const PinnedApp& app) const;
    MenuModel pinnedMenu(const PinnedApp& app, const std::vector<WindowInfo>& windows, bool installed, bool running,
                         const std::set<Pid>& owned) const;
    MenuModel transientMenu(const TransientDockApp& entry, const std::vector<WindowInfo>& windows,
                            const std::set<Pid>& owned) const;
    std::vector<MenuItem> windowRows(const std::vector<WindowInfo>& windows) const;
    // The processes among `owned` that still run: those that ended since the tile was drawn
    // are left out.
    std::vector<RunningApp> runningInstances(const std::set<Pid>& owned) const;
    // "Hide" for every instance, in their order, and "Quit" for those it can end: those that
    // show a window, which it asks to close, and those started here; nothing without instances.
    void addHideAndQuit(MenuModel& menu, const std::vector<RunningApp>& instances,
                        const std::vector<WindowInfo>& windows) const;
    void addWorkspaceRemoval(MenuModel& menu, const AppId& bundleID) const;

    const DockViewModel& model_;
    WindowEngine& engine_;
    PinnedStore& pinned_;
    RunningApps& apps_;
    Hooks hooks_;
    WorkspaceMembers* workspace_;
};

}  // namespace quillbern
