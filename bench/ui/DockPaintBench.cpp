#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

#include "core/model/AppearanceStore.h"
#include "core/model/PinnedStore.h"
#include "core/model/StoredProfiles.h"
#include "core/windows/AXPermission.h"
#include "core/windows/WindowEngine.h"
#include "sim/SimWorld.h"
#include "ui/tiles/DockView.h"
#include "ui/tiles/TileStrip.h"

using namespace quillbern;

namespace {

constexpr DisplayId kDisplay = 1;
constexpr int kPinned = 20;
constexpr int kRunning = 10;

// Every application's icon a picture of its own, as an icon theme would give.
class PictureIcons final : public Icons {
public:
    ImageHandle appIcon(const Path&) const override {
        constexpr int kSide = 128;
        auto image = std::make_shared<Image>();
        image->widthPx = image->heightPx = kSide;
        PixelBuffer pixels{kSide, kSide, std::vector<std::uint8_t>(kSide * kSide * 4)};
        for (int i = 0; i < kSide * kSide; ++i) {
            const auto shade = static_cast<std::uint8_t>((++made_ * 37 + i) % 256);
            std::uint8_t* p = &pixels.rgbaPremultiplied[static_cast<std::size_t>(i) * 4];
            p[0] = shade;
            p[1] = static_cast<std::uint8_t>(255 - shade);
            p[2] = 128;
            p[3] = 255;
        }
        image->pixels = std::move(pixels);
        return image;
    }

    // A dock of applications shows no file icons.
    ImageHandle fileIcon(const Path&) const override { return nullptr; }
    ImageHandle runningAppIcon(Pid) const override { return nullptr; }
    ImageHandle genericAppIcon() const override { return nullptr; }

private:
    mutable int made_ = 0;
};

// One dock on a 1920-point display: 20 pinned applications, then 10 running ones.
struct PaintWorld {
    SimWorld world;
    PictureIcons icons;
    std::unique_ptr<WindowEngine> engine;
    std::unique_ptr<PinnedStore> pinned;
    std::unique_ptr<AppearanceStore> appearance;
    std::unique_ptr<AXPermission> permission;
    std::unique_ptr<DockView> view;

    explicit PaintWorld(double tileSize) {
        ScreenInfo screen;
        screen.id = kDisplay;
        screen.stableId = "16-1";
        screen.frame = screen.visibleFrame = {0, 0, 1920, 1080};
        world.screens.setScreens({screen});
        Profile dock;
        dock.id = *Uuid::parse("CCCCCCCC-0000-4000-8000-000000000001");
        dock.name = "Work";
        dock.isVisible = dock.isEnabled = dock.showsWindows = true;
        std::vector<WindowInfo> shown;
        for (int i = 0; i < kPinned + kRunning; ++i) {
            const std::string id = "app" + std::to_string(i);
            world.catalog.install("/apps/" + id + ".app", {id, std::nullopt, std::nullopt, "App " + std::to_string(i)});
            world.files.addDirectory("/apps/" + id + ".app");
            if (i < kPinned) {
                dock.items.push_back(PinnedItem(PinnedApp{id, "Application " + std::to_string(i), std::nullopt}));
                continue;
            }
            RunningApp running;
            running.pid = 1000 + i;
            running.appId = id;
            running.appPath = "/apps/" + id + ".app";
            world.apps.launch(running);
            WindowInfo window;
            window.id = static_cast<WindowId>(i);
            window.pid = running.pid;
            window.appName = "Running " + std::to_string(i);
            window.displayID = kDisplay;
            shown.push_back(window);
        }
        world.defaults.setData("profiles.v1", StoredProfiles::encode({dock}).value());
        engine = std::make_unique<WindowEngine>(world.enginePorts());
        pinned = std::make_unique<PinnedStore>(world.pinnedPorts(icons));
        appearance = std::make_unique<AppearanceStore>(world.defaults, world.appearance, world.mainLoop);
        appearance->setTileSize(tileSize);
        permission = std::make_unique<AXPermission>(world.permissions, world.processes, world.launcher);
        world.runUntilIdle();
        engine->apply(WindowSnapshot{shown});
        view = std::make_unique<DockView>(DockContent{.engine = engine.get(),
                                                      .pinned = pinned.get(),
                                                      .appearance = appearance.get(),
                                                      .system = &world.appearance,
                                                      .permission = permission.get(),
                                                      .apps = &world.apps,
                                                      .mainLoop = &world.mainLoop,
                                                      .clock = &world.clock,
                                                      .files = &world.files,
                                                      .folders = &world.folders,
                                                      .catalog = &world.catalog,
                                                      .launcher = &world.launcher,
                                                      .alerts = &world.alerts,
                                                      .profile = dock.id,
                                                      .display = kDisplay,
                                                      .onHoverTile = {},
                                                      .onInteractionLock = {},
                                                      .onColdLaunch = {},
                                                      .workspace = nullptr},
                                          world.frames, nullptr);
        // As long as the frame geometry makes it, at most the display less its margins.
        const double length = std::min(30 * tileSize + 29 * 8 + 12 + 36, 1920.0 - 28);
        view->resize(static_cast<int>(length), static_cast<int>(tileSize + 42));
        view->show();
        world.advance(1);  // past the edge fade's confirmation and its animation
    }
    ~PaintWorld() {
        view.reset();
        world.runUntilIdle();
    }
};

void paintFrames(benchmark::State& state, PaintWorld& paint) {
    QImage frame(paint.view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        paint.view->render(&painter);
    }
    state.counters["tiles"] = static_cast<double>(paint.view->strip().cells().size());
    state.counters["faded"] = paint.view->strip().showsFade() ? 1 : 0;
}

// Tiles of 48 points: the 30 tiles fit the display.
void DockPaint30Tiles(benchmark::State& state) {
    PaintWorld paint(48);
    paintFrames(state, paint);
}
BENCHMARK(DockPaint30Tiles)->Unit(benchmark::kMillisecond);

// Tiles of 62 points: the strip overflows, scrolls and fades its ends.
void DockPaint30TilesOverflowing(benchmark::State& state) {
    PaintWorld paint(62);
    paintFrames(state, paint);
}
BENCHMARK(DockPaint30TilesOverflowing)->Unit(benchmark::kMillisecond);

}  // namespace
