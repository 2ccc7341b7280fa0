#pragma once

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/dock/DockController.h"
#include "core/tiles/LocationBrowser.h"
#include "sim/SimWindowCapture.h"
#include "sim/SimWorld.h"

namespace quillbern {

// A display of a simulated machine.
ScreenInfo simDisplay(DisplayId id, std::string stableId, RectBL frame, RectBL visibleFrame);
// Dock number n ("Dock n", identifier AAAAAAAA-0000-4000-8000-<n in 12 hex digits>),
// visible and switched on, with `apps` pinned applications "app<n>.<i>".
Profile simDock(int n, DockEdge edge, DisplayAssignment display = DisplayAssignment::all(), std::size_t apps = 0);

// Applications that are launching, as a test sets them. An icon is as many pixels wide as
// its application's identifier is long, so icons can be told apart.
class SimLaunchingApps final : public LaunchingApps {
public:
    bool isLaunching(const std::string& appId) const override { return launching_.contains(appId); }
    ImageHandle icon(const PinnedApp& app) const override;
    Subscription onLaunchingChanged(Task task) override { return changed_.connect(std::move(task)); }

    void setLaunching(std::set<std::string> launching);

private:
    std::set<std::string> launching_;
    Signal<> changed_;
};

// The simulated machine with everything the dock controller reads: the window engine, the
// hover previews, the dock store, the behaviour and appearance settings and the launching
// applications. Dock
// tests and benchmarks start from it.
class SimDockWorld {
public:
    SimDockWorld() = default;
    ~SimDockWorld();
    SimDockWorld(const SimDockWorld&) = delete;
    SimDockWorld& operator=(const SimDockWorld&) = delete;

    // Stores the docks, then opens the stores and the controller on them.
    void open(const std::vector<Profile>& docks);
    DockController& controller() { return *controller_; }
    PinnedStore& pinned() { return *pinned_; }
    // The panel of dock number n on that display; null when it has none.
    const SimPanelState* panel(DisplayId display, int dockNumber) const;

    SimWorld world;
    AXPermission permission{world.permissions, world.processes, world.launcher};
    SimLaunchingApps launching;
    SimWindowCapture capture{world.clock};
    LocationBrowser locations{{.mainLoop = world.mainLoop,
                               .clock = world.clock,
                               .threads = world.threads,
                               .files = world.files,
                               .folderEvents = world.folders,
                               .thumbnailer = world.thumbnailer,
                               .launcher = world.launcher,
                               .alerts = world.alerts}};
    // What the transient-application count answers, and what it was asked.
    std::size_t transientApps = 0;
    std::vector<std::set<std::string>> transientQueries;

    std::unique_ptr<WindowEngine> engine;
    std::unique_ptr<PreviewStore> previews;
    std::unique_ptr<PinnedStore> pinned_;
    std::unique_ptr<DockPreferences> preferences;
    std::unique_ptr<AppearanceStore> appearance;
    std::unique_ptr<DockController> controller_;
};

}  // namespace quillbern
