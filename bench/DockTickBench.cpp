#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

#include "AllocationCounter.h"
#include "sim/SimDockWorld.h"

using namespace quillbern;

namespace {

// Ten docks on three displays side by side, 14 panels in 10 edge groups: a bottom and a
// top dock on every display, a left and a right dock of each display's own, and two more
// bottom docks that stack on the first two displays. Six applications in every dock.
struct TickWorld : SimDockWorld {
    TickWorld() {
        std::vector<ScreenInfo> screens;
        for (int i = 0; i < 3; ++i) {
            screens.push_back(simDisplay(static_cast<DisplayId>(i + 1), "16-" + std::to_string(i + 1),
                                         {i * 1920.0, 0, 1920, 1080}, {i * 1920.0, 0, 1920, 1050}));
        }
        world.screens.setScreens(screens);
        const auto on = [](int display) {
            return DisplayAssignment::display("16-" + std::to_string(display), "Display");
        };
        std::vector<Profile> docks{simDock(1, DockEdge::bottom, DisplayAssignment::all(), 6),
                                   simDock(2, DockEdge::top, DisplayAssignment::all(), 6)};
        int n = 3;
        for (int display = 1; display <= 3; ++display) {
            docks.push_back(simDock(n++, DockEdge::left, on(display), 6));
            docks.push_back(simDock(n++, DockEdge::right, on(display), 6));
        }
        docks.push_back(simDock(n++, DockEdge::bottom, on(1), 6));
        docks.push_back(simDock(n++, DockEdge::bottom, on(2), 6));
        open(docks);
        world.input.setPointer({2880, 540});
        controller().start();
        world.advance(2);  // every dock has hidden
    }
};

void runTicks(benchmark::State& state, TickWorld& tick) {
    for (auto _ : state)
        tick.controller().autoHideTick();
    const long long before = bench::allocationCount();
    for (int i = 0; i < 1000; ++i)
        tick.controller().autoHideTick();
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
