#include "core/tiles/AppTiles.h"

#include <algorithm>

#include "core/foundation/Localization.h"
#include "core/tiles/WindowMenuItems.h"

namespace quillbern {

AppTiles::AppTiles(const DockViewModel& model, WindowEngine& engine, PinnedStore& pinned, RunningApps& apps,
                   Hooks hooks, WorkspaceMembers* workspace)
    : model_(model), engine_(engine), pinned_(pinned), apps_(apps), hooks_(std::move(hooks)), workspace_(workspace) {}

std::vector<WindowInfo> AppTiles::windowsOf(const std::function<bool(Pid)>& owns) const {
    std::vector<WindowInfo> windows;
    std::ranges::copy_if(engine_.snapshot().windows, std::back_inserter(windows),
                         [&owns](const WindowInfo& window) { return owns(window.pid); });
    return windows;
}

std::function<void(bool)> AppTiles::hoverAction(std::optional<WindowInfo> best) const {
    return [this, best = std::move(best)](bool hovering) {
        if (hooks_.onHoverTile) hooks_.onHoverTile(hovering ? best : std::nullopt);
    };
}

void AppTiles::endHover() const {
    if (hooks_.onHoverTile) hooks_.onHoverTile(std::nullopt);
}

void AppTiles::launch(const PinnedApp& app) const {
    pinned_.launchOrActivate(app.bundleID, app.fallbackPath);
    if (pinned_.launchingBundleIDs().contains(app.bundleID) && hooks_.onColdLaunch) hooks_.onColdLaunch(app);
}

AppTile AppTiles::pinnedAppTile(const PinnedApp& app) const {
    const std::set<Pid> owned = pinned_.pids(app.bundleID);
    std::vector<WindowInfo> windows = windowsOf([&owned](Pid pid) { return owned.contains(pid); });
    const bool running = pinned_.hasRegularProcess(app.bundleID) || !windows.empty();
    const bool installed = pinned_.appPath(app.bundleID, app.fallbackPath).has_value();
    const std::optional<WindowInfo> best = model_.bestWindow(windows);
    const std::optional<Pid> focused = model_.focusedPID();

    AppTile tile;
    tile.state.name = app.name;
    tile.state.icon = pinned_.icon(app);
    tile.state.isInstalled = installed;
    tile.state.showsDot = running;
    tile.state.isFocusedApp = focused && owned.contains(*focused);
    tile.state.isLaunching = pinned_.launchingBundleIDs().contains(app.bundleID);
    tile.activate = [this, app, best] {
        if (best) {
            requestRaise(engine_, *best);
        } else {
            launch(app);
        }
        endHover();
    };
    tile.hover = hoverAction(best);
    tile.menu = [this, app, windows = std::move(windows), installed, running, owned] {
        return pinnedMenu(app, windows, installed, running, owned);
    };
    return tile;
}

MenuModel AppTiles::pinnedMenu(const PinnedApp& app, const std::vector<WindowInfo>& windows, bool installed,
                               bool running, const std::set<Pid>& owned) const {
    MenuModel menu;
    const auto removeFromDock = [this, bundleID = app.bundleID] { pinned_.unpin(bundleID, model_.profileID()); };
    if (!installed) {
        menu.add(tr("Remove from dock"), removeFromDock);
        return menu;
    }
    menu.append(windowRows(windows));
    menu.addSeparator();
    if (!running) {
        // TRANSLATORS: in an application's menu on its dock tile: starts the application.
        menu.add(tr("Open"), [this, app] { launch(app); });
    } else {
        std::vector<RunningApp> instances = runningInstances(owned);
        // Helpers go before the application itself.
        std::stable_partition(instances.begin(), instances.end(),
                              [&app](const RunningApp& instance) { return instance.appId != app.bundleID; });
        addHideAndQuit(menu, instances, windows);
    }
    addWorkspaceRemoval(menu, app.bundleID);
    menu.addSeparator();
    menu.add(tr("Remove from dock"), removeFromDock);
    return menu;
}

std::vector<RunningApp> AppTiles::runningInstances(const std::set<Pid>& owned) const {
    std::vector<RunningApp> instances;
    for (const Pid pid : owned) {
        if (auto instance = pinned_.runningApp(pid)) instances.push_back(std::move(*instance));
    }
    return instances;
}

void AppTiles::addHideAndQuit(MenuModel& menu, const std::vector<RunningApp>& instances,
                              const std::vector<WindowInfo>& windows) const {
    if (instances.empty()) return;
    std::vector<Pid> all;
    std::vector<Pid> quittable;
    for (const RunningApp& instance : instances) {
        all.push_back(instance.pid);
        const bool showsWindow = std::ranges::find(windows, instance.pid, &WindowInfo::pid) != windows.end();
        if (showsWindow || instance.startedHere) quittable.push_back(instance.pid);
    }
    // TRANSLATORS: in an application's menu on its dock tile: hides all its windows.
    menu.add(tr("Hide"), [this, all] {
        for (const Pid pid : all)
            apps_.hide(pid);
    });
    if (quittable.empty()) return;
    // TRANSLATORS: in an application's menu on its dock tile: quits the application.
    menu.add(tr("Quit"), [this, quittable] {
        for (const Pid pid : quittable)
            apps_.quit(pid);
    });
}

AppTile AppTiles::transientTile(const TransientDockApp& entry) const {
    // Every process of the application, on every display: one tile stands for all of them.
    std::set<Pid> owned = applicationProcesses(engine_.snapshot().windows, pinned_, entry.key);
    owned.insert(entry.pid);
    std::vector<WindowInfo> windows = windowsOf([&owned](Pid pid) { return owned.contains(pid); });
    const std::optional<WindowInfo> best = model_.bestWindow(windows);
    const std::optional<Pid> focused = model_.focusedPID();

    AppTile tile;
    tile.state.name = entry.name;
    tile.state.icon = pinned_.icon(entry.app);
    tile.state.isInstalled = true;
    tile.state.showsDot = true;
    tile.state.isFocusedApp = focused && owned.contains(*focused);
    tile.state.isLaunching = false;
    tile.activate = [this, best] {
        if (!best) return;
        requestRaise(engine_, *best);
        endHover();
    };
    tile.hover = hoverAction(best);
    tile.menu = [this, entry, windows = std::move(windows), owned] { return transientMenu(entry, windows, owned); };
    return tile;
}

MenuModel AppTiles::transientMenu(const TransientDockApp& entry, const std::vector<WindowInfo>& windows,
                                  const std::set<Pid>& owned) const {
    MenuModel menu;
    menu.append(windowRows(windows));
    menu.addSeparator();
    addHideAndQuit(menu, runningInstances(owned), windows);
    if (entry.bundleID) addWorkspaceRemoval(menu, *entry.bundleID);
    if (entry.bundleID) {
        menu.addSeparator();
        menu.add(tr("Pin to dock"), [this, bundleID = *entry.bundleID, name = entry.name] {
            pinned_.pin(bundleID, name, std::nullopt, model_.profileID());
        });
    }
    return menu;
}

void AppTiles::addWorkspaceRemoval(MenuModel& menu, const AppId& bundleID) const {
    if (!workspace_ || !workspace_->isMember(bundleID)) return;
    menu.addSeparator();
    menu.add(tr("Remove from workspace"), [workspace = workspace_, bundleID] { workspace->remove(bundleID); });
}

std::vector<MenuItem> AppTiles::windowRows(const std::vector<WindowInfo>& windows) const {
    return windowMenuItems(windows, engine_, [this](const WindowInfo&) { endHover(); });
}

}  // namespace quillbern
