#include <algorithm>
#include <array>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "core/foundation/ThreadRunLoop.h"
#include "core/palettes/AppSearchController.h"
#include "core/palettes/AppSearchIndex.h"
#include "core/platform/SystemThreads.h"
#include "linux/icu/IcuTextServices.h"
#include "sim/SimDockWorld.h"
#include "sim/SimLog.h"

using namespace quillbern;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr std::array<std::string_view, 16> kWords{"Éditeur", "Café",   "Terminal", "Résumé",   "Notes", "Mail",
                                                  "Musique", "Photos", "Über",     "Kalender", "Señal", "Zürich",
                                                  "Office",  "Studio", "Player",   "Manager"};

// Installed applications as a catalogue hands them over, the names two words and a number.
class ManyApps final : public AppCatalog {
public:
    explicit ManyApps(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string id = "org.example.app" + std::to_string(i);
            apps_.push_back({id,
                             std::string(kWords[std::size_t(i) % kWords.size()]) + " " +
                                 std::string(kWords[std::size_t(i / 16) % kWords.size()]) + " " + std::to_string(i),
                             "/usr/share/applications/" + id + ".desktop"});
        }
    }
    std::optional<Path> pathForAppId(std::string_view) const override { return std::nullopt; }
    std::optional<AppInfo> appInfo(const Path&) const override { return std::nullopt; }
    bool isApplicationPath(const Path&) const override { return false; }
    std::optional<AppId> owningAppId(const RunningApp&) const override { return std::nullopt; }
    std::vector<ListedApp> installedApps() const override { return apps_; }
    std::optional<ListedApp> fileManager() const override { return apps_.front(); }
    std::vector<InstalledApp> shown() const {
        std::vector<InstalledApp> apps;
        for (const ListedApp& app : apps_)
            apps.push_back({app.appId, *app.name, app.path});
        return apps;
    }

private:
    std::vector<ListedApp> apps_;
};

// The main loop, on a thread of its own, adding up how long its tasks take.
class TimedLoop final : public RunLoop {
public:
    void post(Task task) override {
        loop_->post([this, task = std::move(task)] {
            const auto start = Clock::now();
            task();
            busyMs += millisecondsSince(start);
        });
    }
    Timer after(Duration delay, Task task) override { return loop_->after(delay, std::move(task)); }
    Timer every(Duration interval, Task task, std::optional<Duration> firstDelay) override {
        return loop_->every(interval, std::move(task), firstDelay);
    }
    bool isCurrent() const override { return loop_->isCurrent(); }

    template <class Fn>
    void run(Fn fn) {
        std::promise<void> done;
        post([&] {
            fn();
            done.set_value();
        });
        done.get_future().wait();
    }

    std::atomic<double> busyMs{0};

private:
    std::unique_ptr<ThreadRunLoop> loop_ = ThreadRunLoop::start("bench.main");
};

// One key press of the palette: the best 8 of 2,000 applications for queries of one to six
// characters, with and without diacritics.
void AppMatchesPerKeystroke(benchmark::State& state) {
    const IcuTextServices text;
    const std::vector<InstalledApp> apps = ManyApps(2000).shown();
    const std::array<std::string_view, 12> queries{"e",      "é",   "ca",  "cafe",   "café", "resum",
                                                   "résumé", "zur", "zür", "uber 1", "señ",  "mana"};
    std::vector<double> times;
    for (auto _ : state) {
        for (std::string_view query : queries) {
            const auto start = Clock::now();
            benchmark::DoNotOptimize(AppSearchIndex::matches(text, query, apps, 8));
            times.push_back(millisecondsSince(start));
        }
    }
    std::ranges::sort(times);
    state.counters["p50ms"] = times[times.size() / 2];
    state.counters["p99ms"] = times[times.size() * 99 / 100];
    state.counters["apps"] = static_cast<double>(apps.size());
}
BENCHMARK(AppMatchesPerKeystroke)->Unit(benchmark::kMillisecond);

// A refresh over 1,000 entries: the scan and its sort run on their own thread; what the
// main loop spends on it is the swap of the finished list.
void AppScanLeavesMainOnlyTheSwap(benchmark::State& state) {
    SimLog quiet;
    SystemThreads threads;
    const IcuTextServices text;
    const ManyApps catalog(1000);
    const auto scanner = std::make_shared<const InstalledAppsScanner>(catalog, text);
    TimedLoop main;
    std::unique_ptr<AppSearchIndex> index;
    main.run([&] {
        index = std::make_unique<AppSearchIndex>(
            AppSearchIndex::Ports{.threads = threads, .scanner = scanner, .mainLoop = main});
    });
    double mainMs = 0, totalMs = 0;
    for (auto _ : state) {
        main.run([&] {
            index = std::make_unique<AppSearchIndex>(
                AppSearchIndex::Ports{.threads = threads, .scanner = scanner, .mainLoop = main});
        });
        std::promise<void> landed;
        Subscription changed;
        main.run([&] { changed = index->changed.connect([&] { landed.set_value(); }); });
        main.busyMs = 0;
        const auto start = Clock::now();
        main.run([&] { index->refreshSoon(); });
        landed.get_future().wait();
        totalMs = millisecondsSince(start);
        mainMs = main.busyMs;
        main.run([&] { changed.reset(); });
    }
    main.run([&] { index.reset(); });
    state.counters["mainMs"] = mainMs;
    state.counters["scanMs"] = totalMs;
}
BENCHMARK(AppScanLeavesMainOnlyTheSwap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// The heap the index of 2,000 entries holds once a scan has landed.
void AppIndexMemory(benchmark::State& state) {
    SimWorld world;
    const ManyApps catalog(2000);
    const auto scanner = std::make_shared<const InstalledAppsScanner>(catalog, world.text);
    double megabytes = 0;
    for (auto _ : state) {
        const long long before = bench::liveByteCount();
        AppSearchIndex index({.threads = world.threads, .scanner = scanner, .mainLoop = world.mainLoop});
        index.refreshSoon();
        world.threads.runBackgroundJobs();
        world.runUntilIdle();
        megabytes = static_cast<double>(bench::liveByteCount() - before) / 1e6;
        benchmark::DoNotOptimize(index.apps().data());
    }
    state.counters["heldMB"] = megabytes;
}
BENCHMARK(AppIndexMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

// One opening that shows the icons of many results: whether its state and icon cache went
// at the dismissal, and the bytes still held then (the simulation's own records of the
// panel included).
void AppSearchIconsAfterDismissal(benchmark::State& state) {
    SimDockWorld w;
    ScreenInfo screen;
    screen.id = 1;
    screen.stableId = "1-1-1";
    screen.frame = {0, 0, 1920, 1080};
    screen.visibleFrame = {0, 0, 1920, 1050};
    w.world.screens.setScreens({screen});
    w.open({simDock(1, DockEdge::bottom)});
    const ManyApps catalog(2000);
    const auto scanner = std::make_shared<const InstalledAppsScanner>(catalog, w.world.text);
    AppSearchIndex index({.threads = w.world.threads, .scanner = scanner, .mainLoop = w.world.mainLoop});
    index.refreshSoon();
    w.world.threads.runBackgroundJobs();
    w.world.runUntilIdle();
    AppSearchController search(
        {.palette = w.world.palettePorts(), .menus = w.world.menus, .text = w.world.text, .icons = w.world.icons},
        *w.engine, w.pinned(), index);
    double heldKB = 0, shownKB = 0;
    std::size_t icons = 0;
    bool released = false;
    for (auto _ : state) {
        // The palette's own panel and view come and go too: measure from one opened and closed.
        search.show();
        search.dismiss();
        w.world.runUntilIdle();
        const long long before = bench::liveByteCount();
        search.show();
        icons = 0;
        for (std::string_view query : {"a", "e", "o", "1", "2", "3"}) {
            search.state()->setQuery(std::string(query));
            for (const InstalledApp& app : search.state()->results()) {
                benchmark::DoNotOptimize(search.state()->icon(app));
                ++icons;
            }
        }
        shownKB = static_cast<double>(bench::liveByteCount() - before) / 1e3;
        const std::weak_ptr<AppSearchState> shown = w.world.paletteViews.lastBuilt()->appSearchState;
        search.dismiss();
        released = shown.expired();
        w.world.threads.runBackgroundJobs();
        w.world.runUntilIdle();
        heldKB = static_cast<double>(bench::liveByteCount() - before) / 1e3;
    }
    state.counters["iconsShown"] = static_cast<double>(icons);
    state.counters["whileShownKB"] = shownKB;
    state.counters["afterDismissalKB"] = heldKB;
    state.counters["cacheReleased"] = released ? 1 : 0;
}
BENCHMARK(AppSearchIconsAfterDismissal)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
