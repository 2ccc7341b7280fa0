#include <algorithm>
#include <benchmark/benchmark.h>

#include "core/palettes/OverviewState.h"
#include "sim/SimDockWorld.h"

using namespace quillbern;

namespace {

// 60 applications, every fifth with a helper process that owns windows of its own, 500
// windows among them in snapshot order (by application name, then number), the 20 most
// recently used activated, one window focused.
struct OverviewWorld : SimDockWorld {
    static constexpr int kApps = 60;
    static constexpr int kWindows = 500;

    OverviewWorld() {
        world.screens.setScreens({simDisplay(1, "16-1", {0, 0, 1920, 1080}, {0, 0, 1920, 1050})});
        open({simDock(1, DockEdge::bottom)});
        for (int n = 0; n < kApps; ++n) {
            RunningApp app;
            app.pid = 1000 + n;
            app.appId = "org.example.app" + std::to_string(n);
            app.name = "Application " + std::to_string((n * 37) % kApps);
            world.apps.launch(app);
            if (n % 5 == 0) {
                RunningApp helper = app;
                helper.pid = 2000 + n;
                helper.name = *app.name + " Helper";
                world.apps.launch(helper);
            }
        }
        world.runUntilIdle();
        for (int n = 0; n < 20; ++n) {
            world.apps.activateByUser(1000 + (n * 7) % kApps);
            world.runUntilIdle();
        }
        std::vector<WindowInfo> windows;
        for (int i = 0; i < kWindows; ++i) {
            const int n = i % kApps;
            WindowInfo window;
            window.id = WindowId(100 + i);
            window.pid = (n % 5 == 0 && i % 2 == 0) ? 2000 + n : 1000 + n;
            window.appName = "Application " + std::to_string((n * 37) % kApps);
            window.title = "Document " + std::to_string(i) + " — " + window.appName;
            window.isFocused = i == 123;
            window.isMinimized = i % 9 == 0;
            windows.push_back(std::move(window));
        }
        std::ranges::stable_sort(windows, {}, &WindowInfo::appName);
        engine->apply(WindowSnapshot{std::move(windows)});
    }
};

// One read of the overview's entries, which the view and the keys repeat at every change.
void OverviewAllEntries(benchmark::State& state) {
    OverviewWorld w;
    OverviewState overview(*w.engine, w.pinned(), w.world.apps, w.world.text);
    std::size_t entries = 0;
    for (auto _ : state) {
        entries = overview.allEntries().size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = double(entries);
    state.counters["windows"] = double(w.engine->snapshot().windows.size());
}
BENCHMARK(OverviewAllEntries)->Unit(benchmark::kMicrosecond);

}  // namespace
