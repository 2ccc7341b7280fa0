#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

#include "AllocationCounter.h"
#include "core/dock/DockController.h"
#include "core/model/StoredProfiles.h"
#include "sim/SimPermissions.h"
#include "sim/SimSessionEvents.h"
#include "sim/SimSystemAppearance.h"
#include "sim/SimThreads.h"
#include "sim/SimWindowSystem.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

class NoLaunches final : public LaunchingApps {
public:
    bool isLaunching(const std::string&) const override { return false; }
    ImageHandle icon(const PinnedApp&) const override { return nullptr; }
    Subscription onLaunchingChanged(Task task) override { return changed_.connect(std::move(task)); }

private:
    Signal<> changed_;
};

Profile benchDock(int n, DockEdge edge, DisplayAssignment display) {
    char id[37];
    std::snprintf(id, sizeof id, "BBBBBBBB-0000-4000-8000-%012X", n);
    Profile profile;
    profile.id = *Uuid::parse(id);
    profile.name = "Dock " + std::to_string(n);
    profile.edge = edge;
    profile.display = std::move(display);
    profile.isVisible = true;
    profile.isEnabled = true;
    for (int i = 0; i < 6; ++i) {
        profile.items.push_back(PinnedItem(PinnedApp{"app" + std::to_string(n * 10 + i), "App", std::nullopt}));
    }
    return profile;
}

// Ten docks on three displays side by side, 14 panels in 10 edge groups: a bottom and a
// top dock on every display, a left and a right dock of each display's own, and two more
// bottom docks that stack on the first two displays.
struct TickWorld {
    SimWorld world;
    SimSystemAppearance system;
    SimWindowSystem windows{world.clock};
    SimPermissions permissions;
    SimThreads threads{world.clock};
    SimSessionEvents session;
    NoLaunches launching;
    std::unique_ptr<WindowEngine> engine;
    std::unique_ptr<PinnedStore> pinned;
    std::unique_ptr<DockPreferences> preferences;
    std::unique_ptr<AppearanceStore> appearance;
    std::unique_ptr<DockController> controller;

    TickWorld() {
        std::vector<ScreenInfo> screens;
        for (int i = 0; i < 3; ++i) {
            ScreenInfo screen;
            screen.id = static_cast<DisplayId>(i + 1);
            screen.stableId = "16-" + std::to_string(i + 1);
            screen.frame = {i * 1920.0, 0, 1920, 1080};
            screen.visibleFrame = {i * 1920.0, 0, 1920, 1050};
            screens.push_back(screen);
        }
        world.screens.setScreens(screens);
        const auto on = [](int display) {
            return DisplayAssignment::display("16-" + std::to_string(display), "Display");
        };
        std::vector<Profile> docks{benchDock(1, DockEdge::bottom, DisplayAssignment::all()),
                                   benchDock(2, DockEdge::top, DisplayAssignment::all())};
        int n = 3;
        for (int display = 1; display <= 3; ++display) {
            docks.push_back(benchDock(n++, DockEdge::left, on(display)));
            docks.push_back(benchDock(n++, DockEdge::right, on(display)));
        }
        docks.push_back(benchDock(n++, DockEdge::bottom, on(1)));
        docks.push_back(benchDock(n++, DockEdge::bottom, on(2)));
        world.defaults.setData("profiles.v1", StoredProfiles::encode(docks).value());

        engine = std::make_unique<WindowEngine>(WindowEngine::Ports{
            AXWorker::Ports{threads, windows, windows, world.screens, permissions, world.input, world.clock},
            world.apps, session, world.screens, world.mainLoop});
        pinned = std::make_unique<PinnedStore>(
            PinnedStore::Ports{world.defaults, world.clock, world.mainLoop, world.uuids, world.text, world.alerts,
                               world.apps, world.catalog, world.launcher, world.files, world.icons});
        preferences = std::make_unique<DockPreferences>(world.defaults, world.clock, world.mainLoop);
        appearance = std::make_unique<AppearanceStore>(world.defaults, system, world.mainLoop);
        controller = std::make_unique<DockController>(
            DockController::Ports{world.panels, world.screens, world.input, system, world.mainLoop, world.clock},
            *engine, *pinned, *preferences, *appearance,
            [](std::span<const WindowInfo>, const std::set<std::string>&) { return std::size_t{0}; }, launching);
        world.input.setPointer({2880, 540});
        controller->start();
        world.advance(2);  // every dock has hidden
    }
    ~TickWorld() {
        controller->stop();
        controller.reset();
        world.runUntilIdle();
    }
};

void runTicks(benchmark::State& state, TickWorld& tick) {
    for (auto _ : state)
        tick.controller->autoHideTick();
    const long long before = bench::allocationCount();
    for (int i = 0; i < 1000; ++i)
        tick.controller->autoHideTick();
    state.counters["allocsPerTick"] = static_cast<double>(bench::allocationCount() - before) / 1000;
    state.counters["panels"] = static_cast<double>(tick.world.panels.openCount());
    state.counters["shown"] = static_cast<double>(tick.world.panels.frontToBack().size());
}

// Every dock hidden, the pointer in the middle of a display.
void DockTickAllHidden(benchmark::State& state) {
    TickWorld tick;
    runTicks(state, tick);
}
BENCHMARK(DockTickAllHidden)->Unit(benchmark::kMicrosecond);

// The pointer rests on the stacked bottom docks of the middle display, which stay shown.
void DockTickHoveringAShownGroup(benchmark::State& state) {
    TickWorld tick;
    tick.world.input.setPointer({2880, 1});
    tick.world.advance(1);
    runTicks(state, tick);
}
BENCHMARK(DockTickHoveringAShownGroup)->Unit(benchmark::kMicrosecond);

}  // namespace
