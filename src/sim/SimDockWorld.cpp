#include "sim/SimDockWorld.h"

#include <cstdio>

#include "core/model/StoredProfiles.h"

namespace quillbern {

namespace {

Uuid dockId(int n) {
    char id[37];
    std::snprintf(id, sizeof id, "AAAAAAAA-0000-4000-8000-%012X", n);
    return *Uuid::parse(id);
}

}  // namespace

ScreenInfo simDisplay(DisplayId id, std::string stableId, RectBL frame, RectBL visibleFrame) {
    ScreenInfo info;
    info.id = id;
    info.stableId = std::move(stableId);
    info.name = "Display " + std::to_string(id);
    info.frame = frame;
    info.visibleFrame = visibleFrame;
    return info;
}

Profile simDock(int n, DockEdge edge, DisplayAssignment display, std::size_t apps) {
    Profile profile;
    profile.id = dockId(n);
    profile.name = "Dock " + std::to_string(n);
    profile.edge = edge;
    profile.display = std::move(display);
    profile.isVisible = true;
    profile.isEnabled = true;
    for (std::size_t i = 0; i < apps; ++i) {
        const std::string number = std::to_string(n) + "." + std::to_string(i);
        profile.items.push_back(PinnedItem(PinnedApp{"app" + number, "App " + number, std::nullopt}));
    }
    return profile;
}

ImageHandle SimLaunchingApps::icon(const PinnedApp& app) const {
    auto image = std::make_shared<Image>();
    image->widthPx = static_cast<int>(app.bundleID.size());
    return image;
}

void SimLaunchingApps::setLaunching(std::set<std::string> launching) {
    launching_ = std::move(launching);
    changed_.emit();
}

SimDockWorld::~SimDockWorld() {
    if (controller_) controller_->stop();
    controller_.reset();
    world.runUntilIdle();
}

void SimDockWorld::open(const std::vector<Profile>& docks) {
    world.defaults.setData("profiles.v1", StoredProfiles::encode(docks).value());
    engine = std::make_unique<WindowEngine>(world.enginePorts());
    previews = std::make_unique<PreviewStore>(PreviewStore::Ports{.defaults = world.defaults,
                                                                  .permissions = world.permissions,
                                                                  .launcher = world.launcher,
                                                                  .screens = world.screens,
                                                                  .session = world.session,
                                                                  .capture = capture,
                                                                  .clock = world.clock,
                                                                  .mainLoop = world.mainLoop});
    pinned_ = std::make_unique<PinnedStore>(world.pinnedPorts());
    preferences = std::make_unique<DockPreferences>(world.defaults, world.clock, world.mainLoop);
    appearance = std::make_unique<AppearanceStore>(world.defaults, world.appearance, world.mainLoop);
    controller_ = std::make_unique<DockController>(
        DockController::Ports{.panels = world.panels,
                              .views = world.dockViews,
                              .screens = world.screens,
                              .input = world.input,
                              .system = world.appearance,
                              .mainLoop = world.mainLoop,
                              .clock = world.clock,
                              .apps = world.apps,
                              .events = world.events,
                              .files = world.files,
                              .folders = world.folders,
                              .catalog = world.catalog,
                              .launcher = world.launcher,
                              .alerts = world.alerts,
                              .locations = &locations},
        *engine, *previews, *pinned_, *preferences, *appearance, permission,
        [this](std::span<const WindowInfo>, const std::set<std::string>& excluded) {
            transientQueries.push_back(excluded);
            return transientApps;
        },
        launching);
}

const SimPanelState* SimDockWorld::panel(DisplayId display, int dockNumber) const {
    const std::optional<std::uint64_t> serial = controller_->panelSerial(PanelKey{display, dockId(dockNumber)});
    return serial ? world.panels.panel(*serial) : nullptr;
}

}  // namespace quillbern
