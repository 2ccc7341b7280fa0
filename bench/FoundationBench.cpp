#include <unistd.h>

#include <atomic>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/ThreadRunLoop.h"
#include "core/platform/SystemThreads.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimClock.h"
#include "sim/SimLog.h"

using namespace quillbern;

namespace {

// One assignment in a domain of 200 keys, written through to the file on the spot, as the
// program does only when the settings' own thread could not start.
void DefaultsAssignmentWith200Keys(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / ("quillbern-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const SystemClock clock;
    JsonFileDefaults defaults(dir / "defaults.json", clock);
    for (int i = 0; i < 200; ++i)
        defaults.set("key." + std::to_string(i), Json{{"value", i}, {"name", "entry"}});
    int n = 0;
    for (auto _ : state)
        defaults.set("dockRevealDelay", 0.1 * (++n % 10));
    std::filesystem::remove_all(dir);
}
BENCHMARK(DefaultsAssignmentWith200Keys)->Unit(benchmark::kMicrosecond);

// What a burst of 100 assignments costs the main loop in a domain of 200 keys, as the
// program saves: the turn's state handed to the settings' own queue, written there.
void DefaultsBurstOf100AssignmentsWith200Keys(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / ("quillbern-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    SimClock clock;
    ManualRunLoop mainLoop(clock);
    SystemThreads threads;
    JsonFileDefaults defaults(dir / "defaults.json", clock,
                              JsonFileDefaults::Saving{mainLoop, threads.serialQueue("quillbern.save")});
    for (int i = 0; i < 200; ++i)
        defaults.set("key." + std::to_string(i), Json{{"value", i}, {"name", "entry"}});
    defaults.flush();
    for (auto _ : state) {
        for (int step = 0; step < 100; ++step)
            defaults.set("appearanceTileSize", 40 + step);
        // The turn of the loop ends: its state is handed over.
        clock.runUntilIdle();
        state.PauseTiming();
        defaults.flush();
        state.ResumeTiming();
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(DefaultsBurstOf100AssignmentsWith200Keys)->Unit(benchmark::kMicrosecond);

// Posting 100,000 blocks to the worker thread and waiting until the last has run.
void ThreadRunLoopPost100k(benchmark::State& state) {
    SimLog quiet;
    auto loop = ThreadRunLoop::start("quillbern.bench");
    for (auto _ : state) {
        std::atomic<int> done{0};
        for (int i = 0; i < 100'000; ++i)
            loop->post([&done] { done.fetch_add(1, std::memory_order_relaxed); });
        std::atomic<bool> finished{false};
        loop->post([&finished] { finished = true; });
        while (!finished) {
        }
        benchmark::DoNotOptimize(done.load());
    }
    state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(ThreadRunLoopPost100k)->Unit(benchmark::kMillisecond);

}  // namespace
