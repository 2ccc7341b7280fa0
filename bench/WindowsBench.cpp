#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

#include "AllocationCounter.h"
#include "core/platform/SystemThreads.h"
#include "core/windows/AXWorker.h"
#include "core/windows/WindowReconciler.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimClock.h"
#include "sim/SimInputState.h"
#include "sim/SimPermissions.h"
#include "sim/SimScreens.h"
#include "sim/SimWindowSystem.h"

using namespace quillbern;

namespace {

constexpr int kApps = 50;
constexpr int kWindowsPerApp = 10;

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        long value = 0;
        if (key == "VmRSS:" && status >> value) return value;
        status.ignore(256, '\n');
    }
    return 0;
}

// 50 applications with 10 windows each on two displays; every fifth window is minimized
// and off screen, so its frame comes from its own position and size.
struct BenchWorld {
    SimWindowSystem windows;
    SimScreens screens;
    TrackedApps apps;

    BenchWorld() {
        ScreenInfo left;
        left.id = 1;
        left.frame = {0, 0, 1920, 1080};
        ScreenInfo right;
        right.id = 2;
        right.frame = {1920, 0, 2560, 1440};
        screens.setScreens({left, right});
        WindowId next = 1000;
        for (int a = 0; a < kApps; ++a) {
            const Pid pid = 2000 + a;
            apps.emplace(pid, "Application " + std::to_string(a % 40));
            const ElementRef app = windows.addApp(pid);
            ElementRef first{};
            for (int w = 0; w < kWindowsPerApp; ++w) {
                const double x = (w * 397 + a * 61) % 4000;
                const ElementRef window =
                    windows.addWindow(pid, {.id = next++,
                                            .title = "Document " + std::to_string(w) + " — a title of ordinary length",
                                            .frame = {x, 40.0 + w * 20, 800, 600},
                                            .onScreen = w % 5 != 4,
                                            .minimized = w % 5 == 4});
                if (w == 0) first = window;
            }
            windows.set(app, Attribute::mainWindow, first);
            if (a == 7) {
                windows.set(app, Attribute::frontmost, true);
                windows.set(app, Attribute::focusedWindow, first);
            }
        }
    }
};

void Reconcile500Windows(benchmark::State& state) {
    BenchWorld world;
    WindowReconciler reconciler(world.windows, world.windows, world.screens);
    for (auto _ : state) {
        WindowSnapshot snapshot = reconciler.reconcile(world.apps);
        benchmark::DoNotOptimize(snapshot);
    }
    state.counters["windows"] = static_cast<double>(reconciler.reconcile(world.apps).windows.size());
}
BENCHMARK(Reconcile500Windows)->Unit(benchmark::kMicrosecond);

// 10,000 unchanged passes: live heap blocks and resident memory before and after.
void UnchangedReconciliations10k(benchmark::State& state) {
    BenchWorld world;
    WindowReconciler reconciler(world.windows, world.windows, world.screens);
    reconciler.reconcile(world.apps);
    for (auto _ : state) {
        const long long blocksBefore = bench::liveBlockCount();
        const long long allocationsBefore = bench::allocationCount();
        const long rssBefore = residentKilobytes();
        for (int i = 0; i < 10'000; ++i)
            benchmark::DoNotOptimize(reconciler.reconcile(world.apps));
        state.counters["liveBlockGrowth"] = static_cast<double>(bench::liveBlockCount() - blocksBefore);
        state.counters["allocsPerPass"] = static_cast<double>(bench::allocationCount() - allocationsBefore) / 10'000;
        state.counters["rssGrowthKiB"] = static_cast<double>(residentKilobytes() - rssBefore);
    }
}
BENCHMARK(UnchangedReconciliations10k)->Iterations(1)->Unit(benchmark::kMillisecond);

// Publishing an unchanged 500-window snapshot: the worker's hand-over to the main loop
// and the main thread's comparison with the snapshot it holds.
void PublishUnchangedSnapshot(benchmark::State& state) {
    BenchWorld world;
    WindowReconciler reconciler(world.windows, world.windows, world.screens);
    SimClock clock;
    ManualRunLoop mainLoop(clock);
    WindowSnapshot stored = reconciler.reconcile(world.apps);
    const WindowSnapshot fresh = reconciler.reconcile(world.apps);
    long long changes = 0;
    const auto publish = [&](const WindowSnapshot& snapshot) {
        mainLoop.post([&, snapshot] {
            if (snapshot == stored) return;
            stored = snapshot;
            ++changes;
        });
    };
    for (auto _ : state) {
        publish(fresh);
        clock.runUntilIdle();
    }
    state.counters["changes"] = static_cast<double>(changes);
}
BENCHMARK(PublishUnchangedSnapshot)->Unit(benchmark::kMicrosecond);

// Starting the window worker on its own thread and ending it: what start-up and quitting
// wait for (start waits for the thread's loop only, the end for its last step).
void WorkerStartAndStop(benchmark::State& state) {
    SystemThreads threads;
    SimWindowSystem windows;
    SimScreens screens;
    SimPermissions permissions;
    SimInputState input;
    SystemClock clock;
    for (auto _ : state) {
        AXWorker worker(
            {.threads = threads,
             .access = windows,
             .windowList = windows,
             .screens = screens,
             .permissions = permissions,
             .input = input,
             .clock = clock},
            [](const WindowSnapshot&) {}, [](Pid) {});
        worker.start();
        worker.shutdown();
    }
}
BENCHMARK(WorkerStartAndStop)->Unit(benchmark::kMicrosecond);

}  // namespace
