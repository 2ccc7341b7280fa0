#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "core/workspace/PlacementController.h"
#include "sim/SimDockWorld.h"

using namespace quillbern;

namespace {

// Three displays side by side; three applications with a window each tile the middle one,
// and the first one's tile is dragged over it, the left button held, to swap cells.
struct PlacementWorld : SimDockWorld {
    PlacementWorld() {
        std::vector<ScreenInfo> screens;
        for (int i = 0; i < 3; ++i) {
            screens.push_back(simDisplay(static_cast<DisplayId>(i + 1), "16-" + std::to_string(i + 1),
                                         {i * 1920.0, 0, 1920, 1080}, {i * 1920.0, 0, 1920, 1050}));
        }
        world.screens.setScreens(screens);
        open({simDock(1, DockEdge::bottom, DisplayAssignment::all(), 4)});
        std::vector<WindowInfo> windows;
        for (int n = 0; n < 3; ++n) {
            RunningApp app;
            app.pid = 1000 + n;
            app.appId = "app1." + std::to_string(n);
            app.name = app.appId;
            world.apps.launch(app);
            WindowInfo window;
            window.id = WindowId(100 + n);
            window.pid = app.pid;
            window.appName = *app.name;
            window.isOnScreen = true;
            window.frame = {0, 0, 800, 600};
            windows.push_back(window);
        }
        world.runUntilIdle();
        engine->apply(WindowSnapshot{windows});
        workspace = std::make_unique<WorkspaceController>(WorkspaceController::Ports{.apps = world.apps,
                                                                                     .screens = world.screens,
                                                                                     .alerts = world.alerts,
                                                                                     .clock = world.clock,
                                                                                     .mainLoop = world.mainLoop},
                                                          *engine, pinned(), *preferences);
        for (int n = 0; n < 3; ++n)
            workspace->drop("app1." + std::to_string(n), 2, {2880, 540});
        placement = std::make_unique<PlacementController>(PlacementController::Ports{.panels = world.panels,
                                                                                     .views = world.workspaceViews,
                                                                                     .screens = world.screens,
                                                                                     .input = world.input,
                                                                                     .events = world.events,
                                                                                     .system = world.appearance,
                                                                                     .mainLoop = world.mainLoop,
                                                                                     .clock = world.clock},
                                                          *engine, pinned(), *workspace);
        pinned().onDragSessionChange = [this] { placement->dragSessionChanged(); };
        world.input.setPointer({2400, 300});
        world.input.setPressedButtons(kLeftButton);
        startDrag();
    }
    ~PlacementWorld() { pinned().onDragSessionChange = nullptr; }

    void startDrag() { pinned().setDragSession(DragSession{"app:app1.0", pinned().profiles().front().id}); }

    std::unique_ptr<WorkspaceController> workspace;
    std::unique_ptr<PlacementController> placement;
};

// Ticks of the zone poll as the run loop fires them; the pointer goes from cell to cell at
// every tick when `moving`, so each tick moves the highlight.
void runTicks(benchmark::State& state, bool moving) {
    PlacementWorld w;
    const PointBL points[] = {{2400, 300}, {3400, 800}};
    int n = 0;
    const auto tick = [&] {
        if (moving) w.world.input.setPointer(points[n % 2]);
        w.world.advance(PlacementController::kPollInterval);
        // Past the safety limit the drag would end: pick the tile up again, untimed.
        if (++n % 300 == 0) {
            state.PauseTiming();
            w.pinned().setDragSession(std::nullopt);
            w.startDrag();
            state.ResumeTiming();
        }
    };
    for (auto _ : state)
        tick();
    state.counters["active"] = w.placement->isActive() ? 1 : 0;
    // The overlays shown, and the ghost cells they draw together: the three of the middle one.
    std::size_t overlays = 0, cells = 0;
    for (std::uint64_t serial : w.world.panels.frontToBack()) {
        if (const auto* content = w.world.panels.panel(serial)->shown<PlacementContent>()) {
            ++overlays;
            cells += content->holder->cellFrames().size();
        }
    }
    state.counters["overlays"] = static_cast<double>(overlays);
    state.counters["cells"] = static_cast<double>(cells);
}

void PlacementZoneTickStill(benchmark::State& state) {
    runTicks(state, false);
}
BENCHMARK(PlacementZoneTickStill)->Unit(benchmark::kMicrosecond);

void PlacementZoneTickMoving(benchmark::State& state) {
    runTicks(state, true);
}
BENCHMARK(PlacementZoneTickMoving)->Unit(benchmark::kMicrosecond);

}  // namespace
