#include <unistd.h>

#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/palettes/FileSearchController.h"
#include "core/palettes/FileSearchViewModel.h"
#include "linux/icu/IcuTextServices.h"
#include "sim/SimDockWorld.h"

using namespace quillbern;

namespace {

constexpr const char* kWide = "/home/u/Documents/Wide";

// Documents holding a folder of 10,000 entries: 2,000 folders of 10 files each, whose
// 20,000 files fill the index to its cap, and 8,000 files.
void fillWideFolder(SimFileSystem& files) {
    files.addDirectory("/home/u/Documents");
    files.setUserDirectory(UserDirectory::documents, "/home/u/Documents");
    files.addDirectory(kWide);
    const char* words[] = {"report", "invoice", "photo", "notes", "draft", "budget", "summary", "scan"};
    for (int n = 0; n < 2'000; ++n) {
        const std::string folder = std::string(kWide) + "/" + words[n % 8] + " folder " + std::to_string(n);
        files.addDirectory(folder);
        for (int k = 0; k < 10; ++k)
            files.addFile(folder + "/" + words[(n + k) % 8] + " " + std::to_string(k) + ".txt", WallTime{1e9 + n + k});
    }
    for (int n = 0; n < 8'000; ++n)
        files.addFile(std::string(kWide) + "/" + words[n % 8] + " " + std::to_string(n) + ".pdf", WallTime{1e9 + n});
}

void runQueue(SimWorld& world) {
    world.runUntilIdle();
    while (SimSerialQueue* queue = world.threads.queue(FileSearchEngine::kQueueLabel)) {
        if (!queue->runNext()) break;
        world.runUntilIdle();
    }
}

// A panel and views that keep nothing once closed, as the program's own: the simulated
// ones record every panel for tests, which would hold each opening's state.
class BenchPanel final : public Panel {
public:
    BenchPanel(std::uint64_t serial, RectBL frame, PanelContent content)
        : serial_(serial), frame_(frame), content_(std::move(content)) {}
    std::uint64_t serial() const override { return serial_; }
    RectBL frame() const override { return frame_; }
    void setFrame(RectBL frame) override { frame_ = frame; }
    double alpha() const override { return 1; }
    void setAlpha(double) override {}
    void animate(Animation, std::optional<double>, std::optional<RectBL>, Task) override {}
    void orderFront() override { visible_ = true; }
    void orderOut() override { visible_ = false; }
    bool isVisible() const override { return visible_; }
    void setContent(PanelContent content) override { content_ = std::move(content); }
    void setCommandClickHandler(Task) override {}
    void makeKeyAndOrderFront() override { visible_ = true; }
    bool isKey() const override { return visible_; }
    void setKeyHandlers(PanelKeyHandlers) override {}
    void setVeil(std::optional<RectBL>, double) override {}
    void clearVeilEffects() override {}

private:
    std::uint64_t serial_;
    RectBL frame_;
    PanelContent content_;
    bool visible_ = false;
};

class BenchPanels final : public PanelHost {
public:
    std::unique_ptr<Panel> createPanel(const PanelStyle&, RectBL frame, PanelContent content) override {
        return std::make_unique<BenchPanel>(++serial_, frame, std::move(content));
    }
    std::vector<OwnWindow> ownWindows() const override { return {}; }

private:
    std::uint64_t serial_ = 0;
};

class BenchView final : public PaletteView {
public:
    explicit BenchView(FileSearchViewInputs inputs) : inputs_(std::move(inputs)) {}
    Size fittingSize() const override { return {568, 400}; }
    bool focusField() override { return true; }

private:
    FileSearchViewInputs inputs_;
};

class BenchViews final : public PaletteViewFactory {
public:
    std::shared_ptr<PaletteView> shortcutSheet(const std::vector<ShortcutSheetRow>&) override { return nullptr; }
    std::shared_ptr<OverviewPaletteView> overview(OverviewViewInputs) override { return nullptr; }
    std::shared_ptr<PaletteView> appSearch(const AppSearchViewInputs&) override { return nullptr; }
    std::shared_ptr<PaletteView> fileSearch(FileSearchViewInputs inputs) override {
        return std::make_shared<BenchView>(std::move(inputs));
    }
};

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// One key press in the palette over a level of 10,000 entries and the full index of 20,000:
// the results ranked again and the view's shape read, as the palette does on every edit.
void FilePaletteKeystroke(benchmark::State& state) {
    SimWorld world;
    const IcuTextServices text;
    fillWideFolder(world.files);
    FileSearchEngine engine({.mainLoop = world.mainLoop, .threads = world.threads, .files = world.files, .text = text});
    FileSearchState palette(
        {.mainLoop = world.mainLoop, .engine = engine, .files = world.files, .text = text, .icons = world.icons}, {});
    palette.enter({.path = kWide, .name = "Wide", .isFolder = true, .modified = {}});
    runQueue(world);
    palette.setQuery("r");
    runQueue(world);
    const std::vector<std::string> typed = {"r", "re", "rep", "repo", "report", "report 1", "s", "su", "sum"};
    std::size_t n = 0;
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        palette.setQuery(typed[n++ % typed.size()]);
        benchmark::DoNotOptimize(fileShapeSignature(palette));
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::ranges::sort(times);
    state.counters["levelEntries"] = static_cast<double>(palette.levelEntries()->size());
    state.counters["indexEntries"] = static_cast<double>(palette.searchIndex() ? palette.searchIndex()->size() : 0);
    state.counters["p99ms"] = times[times.size() * 99 / 100];
}
BENCHMARK(FilePaletteKeystroke)->Unit(benchmark::kMillisecond);

// Fifty openings of the palette that each enter the folder of 10,000 entries and close:
// how much the resident memory grows beyond the first opening.
void FilePaletteFiftyOpenings(benchmark::State& state) {
    double grownMB = 0;
    std::size_t listed = 0;
    for (auto _ : state) {
        SimDockWorld docks;
        docks.open({});
        SimWorld& world = docks.world;
        fillWideFolder(world.files);
        ScreenInfo screen;
        screen.id = 1;
        screen.frame = {0, 0, 1920, 1080};
        screen.visibleFrame = {0, 0, 1920, 1050};
        world.screens.setScreens({screen});
        world.input.setPointer({100, 100});
        BenchPanels panels;
        BenchViews views;
        FileSearchController palette({.palette = {.panels = panels,
                                                  .views = views,
                                                  .screens = world.screens,
                                                  .input = world.input,
                                                  .events = world.events,
                                                  .mainLoop = world.mainLoop},
                                      .threads = world.threads,
                                      .files = world.files,
                                      .text = world.text,
                                      .icons = world.icons,
                                      .launcher = world.launcher,
                                      .menus = world.menus,
                                      .layout = world.keyboardLayout,
                                      .apps = world.apps,
                                      .alerts = world.alerts,
                                      .clock = world.clock,
                                      .folderAccessPrompt = std::nullopt},
                                     docks.pinned());
        const auto openOnce = [&] {
            palette.show();
            palette.activate({.path = "/home/u/Documents", .name = "Documents", .isFolder = true, .modified = {}});
            runQueue(world);
            palette.activate({.path = kWide, .name = "Wide", .isFolder = true, .modified = {}});
            runQueue(world);
            listed = palette.state()->levelEntries() ? palette.state()->levelEntries()->size() : 0;
            palette.dismiss();
            runQueue(world);
        };
        openOnce();
        const long before = residentBytes();
        for (int n = 0; n < 50; ++n)
            openOnce();
        grownMB = static_cast<double>(residentBytes() - before) / 1e6;
    }
    state.counters["grownMB"] = grownMB;
    state.counters["levelEntries"] = static_cast<double>(listed);
}
BENCHMARK(FilePaletteFiftyOpenings)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
