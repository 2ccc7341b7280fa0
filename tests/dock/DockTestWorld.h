#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/dock/DockController.h"
#include "core/model/StoredProfiles.h"
#include "sim/SimPermissions.h"
#include "sim/SimSessionEvents.h"
#include "sim/SimSystemAppearance.h"
#include "sim/SimThreads.h"
#include "sim/SimWindowSystem.h"
#include "sim/SimWorld.h"

namespace quillbern::testing {

inline constexpr DisplayId kLeft = 1;
inline constexpr DisplayId kRight = 2;

ScreenInfo screen(DisplayId id, std::string stableId, RectBL frame, RectBL visibleFrame);
// The primary (1920 x 1080, visible frame without a 30-point top bar) and to its right a
// 1280 x 1024 display with its bottom edge level.
std::vector<ScreenInfo> twoScreens();

Profile dock(int n, DockEdge edge, DisplayAssignment display = DisplayAssignment::all(), std::size_t apps = 0);
DisplayAssignment onDisplay(const std::string& stableId);

// Launching applications as a test sets them.
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

// A simulated machine with the stores and the window engine the dock controller reads.
class DockTestWorld {
public:
    DockTestWorld();
    ~DockTestWorld();

    // Stores the docks, then opens the stores and the controller on them.
    void open(const std::vector<Profile>& docks);
    DockController& controller() { return *controller_; }
    PinnedStore& pinned() { return *pinned_; }

    // The frame of the panel of this dock on that display; null when it has none.
    const SimPanelState* panel(DisplayId display, int dockNumber);
    std::size_t openPanels() const { return world.panels.openCount(); }

    SimWorld world;
    SimSystemAppearance system;
    SimWindowSystem windows{world.clock};
    SimPermissions permissions;
    SimThreads threads{world.clock};
    SimSessionEvents session;
    SimLaunchingApps launching;
    // What the transient-application count answers, and what it was asked.
    std::size_t transientApps = 0;
    std::vector<std::set<std::string>> transientQueries;

    std::unique_ptr<WindowEngine> engine;
    std::unique_ptr<PinnedStore> pinned_;
    std::unique_ptr<DockPreferences> preferences;
    std::unique_ptr<AppearanceStore> appearance;
    std::unique_ptr<DockController> controller_;
};

}  // namespace quillbern::testing
