#include <benchmark/benchmark.h>
#include <string>

#include "core/windows/WindowEngine.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

// 500 windows of 50 applications, as the worker would publish them.
WindowSnapshot snapshotOf500(const std::string& lastTitle) {
    WindowSnapshot snapshot;
    for (int app = 0; app < 50; ++app) {
        for (int i = 0; i < 10; ++i) {
            WindowInfo window;
            window.id = static_cast<WindowId>(1000 + app * 10 + i);
            window.pid = 100 + app;
            window.appName = "Application number " + std::to_string(app);
            window.title = "Document " + std::to_string(i) + " — a title long enough to live on the heap";
            window.isOnScreen = i % 5 != 0;
            window.displayID = 1;
            window.frame = {10.0 * i, 20.0 * i, 800, 600};
            snapshot.windows.push_back(window);
        }
    }
    snapshot.windows.back().title = lastTitle;
    return snapshot;
}

// A window engine on the simulated machine, not started: the benchmarks feed it directly.
struct EngineWorld {
    SimWorld world;
    WindowEngine engine{world.enginePorts()};
};

// The main thread's share of a changed snapshot: compare, store, tell an observer and
// the wiring callback.
void BM_EngineAppliesChangedSnapshotOf500(benchmark::State& state) {
    EngineWorld machine;
    WindowEngine& engine = machine.engine;
    std::size_t seen = 0;
    engine.onSnapshotChange = [&](const WindowSnapshot& snapshot) { seen += snapshot.windows.size(); };
    const Subscription observer = engine.snapshotChanged.connect([&] { ++seen; });
    const WindowSnapshot a = snapshotOf500("first");
    const WindowSnapshot b = snapshotOf500("second");
    bool flip = false;
    for (auto _ : state) {
        engine.apply((flip = !flip) ? a : b);
    }
    benchmark::DoNotOptimize(seen);
}
BENCHMARK(BM_EngineAppliesChangedSnapshotOf500)->Unit(benchmark::kMicrosecond);

// An unchanged snapshot, the common case of the 2.5 s periodic pass.
void BM_EngineIgnoresUnchangedSnapshotOf500(benchmark::State& state) {
    EngineWorld machine;
    WindowEngine& engine = machine.engine;
    const WindowSnapshot a = snapshotOf500("first");
    engine.apply(a);
    for (auto _ : state)
        engine.apply(a);
}
BENCHMARK(BM_EngineIgnoresUnchangedSnapshotOf500)->Unit(benchmark::kMicrosecond);

}  // namespace
