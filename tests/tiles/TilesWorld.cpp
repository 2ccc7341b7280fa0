#include "tiles/TilesWorld.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "core/model/StoredProfiles.h"
#include "core/model/TransientDockApps.h"
#include "ui/tiles/DockView.h"

namespace quillbern::testing {

namespace {

ScreenInfo screen(DisplayId id, RectBL frame) {
    ScreenInfo info;
    info.id = id;
    info.stableId = "16-" + std::to_string(id);
    info.name = "Display " + std::to_string(id);
    info.frame = frame;
    info.visibleFrame = frame;
    return info;
}

Path appPath(const AppId& id) {
    return "/apps/" + id + ".app";
}

// One picture per colour, as the program's icons keep one per application while it stays.
ImageHandle square(QColor c) {
    static std::map<QRgb, ImageHandle> made;
    ImageHandle& kept = made[c.rgba()];
    if (kept) return kept;
    constexpr int kSide = 32;
    PixelBuffer pixels{kSide, kSide, {}};
    for (int i = 0; i < kSide * kSide; ++i) {
        pixels.rgbaPremultiplied.insert(pixels.rgbaPremultiplied.end(),
                                        {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                         static_cast<std::uint8_t>(c.blue()), 255});
    }
    auto image = std::make_shared<Image>();
    image->widthPx = image->heightPx = kSide;
    image->pixels = std::move(pixels);
    kept = image;
    return kept;
}

}  // namespace

const QColor ColourIcons::kGeneric(128, 128, 128);

ImageHandle ColourIcons::appIcon(const Path& appPath) const {
    const auto found = colours_.find(appPath);
    return found == colours_.end() ? nullptr : square(found->second);
}

ImageHandle ColourIcons::runningAppIcon(Pid pid) const {
    const auto found = windowColours_.find(pid);
    return found == windowColours_.end() ? nullptr : square(found->second);
}

ImageHandle ColourIcons::genericAppIcon() const {
    return square(kGeneric);
}

Uuid dockId(int n) {
    char id[37];
    std::snprintf(id, sizeof id, "AAAAAAAA-0000-4000-8000-%012X", n);
    return *Uuid::parse(id);
}

Profile dock(int n, DockEdge edge, std::vector<PinnedItem> items, bool showsWindows) {
    Profile profile;
    profile.id = dockId(n);
    profile.name = "Dock " + std::to_string(n);
    profile.edge = edge;
    profile.display = DisplayAssignment::all();
    profile.isVisible = true;
    profile.isEnabled = true;
    profile.showsWindows = showsWindows;
    profile.items = std::move(items);
    return profile;
}

PinnedItem app(const std::string& bundleID, const std::string& name) {
    return PinnedItem(PinnedApp{bundleID, name, std::nullopt});
}

PinnedItem folder(int n, const std::string& name, const Path& path) {
    char id[37];
    std::snprintf(id, sizeof id, "BBBBBBBB-0000-4000-8000-%012X", n);
    return PinnedItem(PinnedLocation{*Uuid::parse(id), name, path});
}

WindowInfo window(WindowId id, Pid pid, const std::string& appName, DisplayId display) {
    WindowInfo info;
    info.id = id;
    info.pid = pid;
    info.appName = appName;
    info.title = appName + " " + std::to_string(id);
    info.displayID = display;
    return info;
}

WindowInfo focused(WindowInfo window) {
    window.isFocused = true;
    return window;
}

WindowInfo minimized(WindowInfo window) {
    window.isMinimized = true;
    return window;
}

TilesWorld::TilesWorld() {
    world.screens.setScreens({screen(kLeft, {0, 0, 1920, 1080}), screen(kRight, {1920, 0, 1920, 1080})});
}

TilesWorld::~TilesWorld() {
    if (engine) engine->stop();
    world.runUntilIdle();
}

void TilesWorld::open(const std::vector<Profile>& docks, bool trusted) {
    world.defaults.setData("profiles.v1", StoredProfiles::encode(docks).value());
    world.permissions.setWindowAccessTrusted(trusted);
    engine = std::make_unique<WindowEngine>(world.enginePorts());
    pinned = std::make_unique<PinnedStore>(world.pinnedPorts(icons));
    appearance = std::make_unique<AppearanceStore>(world.defaults, world.appearance, world.mainLoop);
    permission = std::make_unique<AXPermission>(world.permissions, world.processes, world.launcher);
    world.runUntilIdle();
}

void TilesWorld::install(const AppId& id, const std::string& name, QColor colour) {
    world.catalog.install(appPath(id), {id, std::nullopt, std::nullopt, name});
    world.files.addDirectory(appPath(id));
    icons.paint(appPath(id), colour);
}

void TilesWorld::run(Pid pid, const std::optional<AppId>& id, const std::string& name, bool startedHere) {
    RunningApp running;
    running.pid = pid;
    running.name = name;
    running.appId = id;
    running.startedHere = startedHere;
    if (id) running.appPath = appPath(*id);
    world.apps.launch(running);
    world.runUntilIdle();
}

void TilesWorld::showWindows(std::vector<WindowInfo> shown) {
    engine->apply(WindowSnapshot{std::move(shown)});
}

DockFrameInputs TilesWorld::frameInputs() {
    DockFrameInputs inputs;
    inputs.tileSize = appearance->tileSize();
    inputs.showsLabels = appearance->showsLabels();
    inputs.isTrusted = engine->isTrusted();
    inputs.windows = engine->snapshot().windows;
    inputs.transientApps = [this](std::span<const WindowInfo> windows, const std::set<std::string>& owners) {
        return transientDockApps(windows, *pinned, owners).size();
    };
    return inputs;
}

QSize TilesWorld::panelSize(int dockNumber, DisplayId display) {
    const RectBL frame = dockFrame({0, 0, 1920, 1080}, *pinned->profile(dockId(dockNumber)), display, 0, frameInputs());
    return {static_cast<int>(frame.width), static_cast<int>(frame.height)};
}

DockContent TilesWorld::content(int dockNumber, DisplayId display) {
    return {.engine = engine.get(),
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
            .profile = dockId(dockNumber),
            .display = display,
            .onHoverTile = {},
            .onInteractionLock = {},
            .onColdLaunch = {},
            .workspace = nullptr,
            .locations = &locations};
}

std::unique_ptr<DockView> TilesWorld::view(int dockNumber, DisplayId display, QSize size) {
    auto view = std::make_unique<DockView>(content(dockNumber, display), world.frames, nullptr);
    view->resize(size);
    // Shown, so that the size takes effect at once rather than at the first paint.
    view->show();
    return view;
}

QImage rendered(DockView& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

int pixelsNear(const QImage& image, const QRect& area, QColor colour, int tolerance) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance && c.alpha() > 200)
                ++count;
        }
    }
    return count;
}

}  // namespace quillbern::testing
