// The scan of installed applications through GIO on a tree of real-sized desktop entries,
// the main loop's heartbeat while the dock editor scans and takes the list, and the filter
// of the apps card at each typed letter.
#include <stdlib.h>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RunOnLoop.h"
#include "core/foundation/ThreadRunLoop.h"
#include "core/model/InstalledAppsScanner.h"
#include "core/platform/SystemThreads.h"
#include "core/settings/AppsCardModel.h"
#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/icu/IcuTextServices.h"
#include "sim/SimDockWorld.h"
#include "sim/SimLog.h"

using namespace quillbern;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kEntries = 2000;
constexpr int kBroken = 60;
constexpr std::array<const char*, 40> kLocales{"ar", "bg", "ca", "cs", "da", "de", "el", "en_GB", "es",    "et",
                                               "eu", "fa", "fi", "fr", "gl", "he", "hr", "hu",    "id",    "it",
                                               "ja", "ko", "lt", "lv", "nb", "nl", "pl", "pt",    "pt_BR", "ro",
                                               "ru", "sk", "sl", "sr", "sv", "th", "tr", "uk",    "vi",    "zh_CN"};

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string appName(int i) {
    static constexpr std::array<const char*, 12> kWords{"Café", "Terminal", "Notes",  "Mail",   "Photos", "Studio",
                                                        "Maps", "Calendar", "Player", "Office", "Camera", "Editor"};
    return std::string(kWords[std::size_t(i) % kWords.size()]) + " " + kWords[std::size_t(i / 12) % kWords.size()] +
           " " + std::to_string(i);
}

// A desktop entry of the size distributions ship: a name, a generic name, a comment and
// keywords, each in some forty languages.
std::string realSizedEntry(int i) {
    std::string text = "[Desktop Entry]\nType=Application\nName=" + appName(i) + "\n";
    for (const char* locale : kLocales)
        text += std::string("Name[") + locale + "]=" + appName(i) + " (" + locale + ")\n";
    text += "GenericName=Application of the bench\n";
    for (const char* locale : kLocales)
        text += std::string("GenericName[") + locale + "]=Application of the bench in " + locale + "\n";
    text += "Comment=Does what an application of this kind does, and a little more besides\n";
    for (const char* locale : kLocales)
        text += std::string("Comment[") + locale + "]=Does what an application of this kind does, in " + locale + "\n";
    for (const char* locale : kLocales)
        text += std::string("Keywords[") + locale + "]=bench;application;" + locale + ";\n";
    text +=
        "Exec=/bin/true %U\nIcon=application-x-executable\nCategories=Utility;Office;\n"
        "MimeType=text/plain;image/png;\nStartupNotify=true\n";
    return text;
}

// The tree, written once per process before GIO first reads the data folders, which it
// does only once.
struct EntryTree {
    EntryTree() {
        char pattern[] = "/tmp/quillbern-bench-apps-XXXXXX";
        root = mkdtemp(pattern);
        const fs::path apps = root / "data" / "applications";
        fs::create_directories(apps);
        fs::create_directories(root / "home" / "applications");
        for (int i = 0; i < kEntries; ++i)
            std::ofstream(apps / ("org.bench.App" + std::to_string(i) + ".desktop")) << realSizedEntry(i);
        for (int i = 0; i < kBroken; ++i) {
            const fs::path path = apps / ("broken" + std::to_string(i) + ".desktop");
            if (i % 3 == 0) {
                std::ofstream(path) << "[Desktop Entry]\nType=Application\nExec=/bin/true\n";
            } else if (i % 3 == 1) {
                std::ofstream(path) << "[Desktop Entry]\nType=Application\nName=Caf\xe9 " << i << "\nExec=/bin/true\n";
            } else {
                std::ofstream(path) << "no entry at all " << i << "\n";
            }
        }
        setenv("XDG_DATA_DIRS", (root / "data").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "home").c_str(), 1);
    }
    ~EntryTree() { fs::remove_all(root); }
    fs::path root;
};

// A dock world with one dock on one display, for a card to edit.
void openOneDock(SimDockWorld& sim) {
    ScreenInfo screen;
    screen.id = 1;
    screen.stableId = "1-1-1";
    screen.frame = {0, 0, 1920, 1080};
    screen.visibleFrame = {0, 0, 1920, 1050};
    sim.world.screens.setScreens({screen});
    sim.open({simDock(1, DockEdge::bottom)});
}

EntryTree& entryTree() {
    static EntryTree tree;
    return tree;
}

void InstalledAppsScanOfRealSizedEntries(benchmark::State& state) {
    entryTree();
    SimLog quiet;
    const IcuTextServices text;
    const LinuxAppCatalog catalog;
    const InstalledAppsScanner scanner(catalog, text);
    std::size_t found = 0;
    for (auto _ : state)
        found = scanner.scan().size();
    // The entries of the tree, and perhaps the desktop's file manager from outside it.
    if (found < kEntries || found > kEntries + 1) state.SkipWithError("GIO read other data folders than the bench's");
    state.counters["apps"] = static_cast<double>(found);
}
BENCHMARK(InstalledAppsScanOfRealSizedEntries)->Unit(benchmark::kMillisecond)->Iterations(10);

// The dock editor's scan as its pane runs it, from the request to the list taken by the apps
// card on the main loop, while a 10 ms heartbeat there notes the longest gap between beats.
void InstalledAppsHeartbeatWhileScanning(benchmark::State& state) {
    entryTree();
    SimLog quiet;
    SimDockWorld sim;
    openOneDock(sim);
    const IcuTextServices text;
    const LinuxAppCatalog catalog;
    const InstalledAppsScanner scanner(catalog, text);
    SystemThreads threads;
    std::unique_ptr<ThreadRunLoop> main = ThreadRunLoop::start("bench.main");
    const AppsCardModel::Ports ports{.pinned = sim.pinned(),
                                     .text = text,
                                     .files = sim.world.files,
                                     .folderPicker = sim.world.folderPicker,
                                     .icons = sim.world.icons};
    double worstGapMs = 0;
    for (auto _ : state) {
        std::unique_ptr<AppsCardModel> card;
        std::promise<void> taken;
        Subscription changed;
        Clock::time_point lastBeat = Clock::now();
        double gapMs = 0;
        Timer heartbeat;
        bench::runOn(*main, [&] {
            card = std::make_unique<AppsCardModel>(ports, sim.pinned().profiles().front().id);
            card->setSearchText("ca");
            changed = card->changed.connect([&] {
                // What the card shows at once: the results of the typed text.
                benchmark::DoNotOptimize(card->results());
                taken.set_value();
            });
            lastBeat = Clock::now();
            heartbeat = main->every(0.010, [&] {
                gapMs = std::max(gapMs, millisecondsSince(lastBeat));
                lastBeat = Clock::now();
            });
            threads.runInBackground("quillbern.scan", [&] {
                main->post([&card, apps = scanner.scan()]() mutable { card->setInstalled(std::move(apps)); });
            });
        });
        taken.get_future().wait();
        // One more beat after the list was taken.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        bench::runOn(*main, [&] {
            heartbeat.cancel();
            gapMs = std::max(gapMs, millisecondsSince(lastBeat));
            changed.reset();
            card.reset();
        });
        worstGapMs = std::max(worstGapMs, gapMs);
    }
    state.counters["worstGapMs"] = worstGapMs;
}
BENCHMARK(InstalledAppsHeartbeatWhileScanning)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// One more letter typed into the card's search over 2,000 names: the text stored and the
// results filtered for the render that follows.
void AppsCardFilterPerTypedLetter(benchmark::State& state) {
    SimLog quiet;
    SimDockWorld sim;
    openOneDock(sim);
    for (int i = 0; i < kEntries; ++i) {
        const std::string id = "org.bench.App" + std::to_string(i);
        sim.world.catalog.install("/apps/" + id + ".app", AppInfo{id, std::nullopt, std::nullopt, appName(i)});
    }
    const IcuTextServices text;
    const InstalledAppsScanner scanner(sim.world.catalog, text);
    AppsCardModel card({.pinned = sim.pinned(),
                        .text = text,
                        .files = sim.world.files,
                        .folderPicker = sim.world.folderPicker,
                        .icons = sim.world.icons},
                       sim.pinned().profiles().front().id);
    card.setInstalled(scanner.scan());
    // Queries that match few names, so the whole list is walked.
    const std::array<std::string, 6> typed{"Zq", "Café Notes 1999", "mapsx", "é", "Studio Office 70", "Ñ"};
    std::vector<double> times;
    for (auto _ : state) {
        for (const std::string& query : typed) {
            card.setSearchText(query.substr(0, query.size() - 1));
            const auto start = Clock::now();
            card.setSearchText(query);
            benchmark::DoNotOptimize(card.results());
            times.push_back(millisecondsSince(start));
        }
    }
    std::ranges::sort(times);
    state.counters["p50ms"] = times[times.size() / 2];
    state.counters["p99ms"] = times[times.size() * 99 / 100];
    state.counters["maxMs"] = times.back();
}
BENCHMARK(AppsCardFilterPerTypedLetter)->Unit(benchmark::kMillisecond);

}  // namespace
