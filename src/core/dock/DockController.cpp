#include "core/dock/DockController.h"

#include <algorithm>
#include <limits>
#include <set>

namespace quillbern {

namespace {

// A let-go held-out dock counts as left long ago, so the next tick may hide it.
constexpr MediaTime kDistantPast{-std::numeric_limits<double>::infinity()};

}  // namespace

DockController::DockController(Ports ports, WindowEngine& engine, PreviewStore& previews, PinnedStore& pinned,
                               DockPreferences& preferences, AppearanceStore& appearance, AXPermission& permission,
                               TransientAppCount transientApps, LaunchingApps& launching)
    : ports_(ports),
      engine_(engine),
      previews_(previews),
      pinned_(pinned),
      preferences_(preferences),
      appearance_(appearance),
      permission_(permission),
      transientApps_(std::move(transientApps)),
      launching_(launching) {}

DockController::~DockController() = default;

void DockController::start() {
    expectOnLoop(ports_.mainLoop);
    rebuildPanels();
    screenObserver_ = ports_.screens.onChanged(lifetime_.guard([this] { rebuildPanels(); }));
    pinned_.onLayoutChange = lifetime_.guard([this] {
        hidePreviewNow();
        rebuildPanels();
    });
    pinned_.onContentChange = lifetime_.guard([this] { refreshFrames(); });
    // Edits that announce nothing, such as listing the running applications, can still
    // change a dock's length.
    profilesObserver_ = pinned_.profilesChanged.connect(lifetime_.guard([this] { refreshFrames(); }));
    runningObserver_ = pinned_.runningChanged.connect(lifetime_.guard([this] { runningChanged(); }));
    runningProcesses_ = runningProcesses();
    // What the tick reads besides the pointer and the controller's own state.
    const auto wake = lifetime_.guard([this] { wakeTick(); });
    tickWakers_.push_back(preferences_.changed.connect(wake));
    tickWakers_.push_back(pinned_.profilesChanged.connect(wake));
    tickWakers_.push_back(pinned_.dragSessionChanged.connect(wake));
    tickWakers_.push_back(engine_.snapshotChanged.connect(wake));
    // A press breaks off a knock; the tick after it must see it, resting or not.
    constexpr MouseButtons kAnyButton = kLeftButton | kRightButton | kOtherButton;
    pressMonitors_.clear();
    pressMonitors_.push_back(ports_.events.onGlobalMouseDown(
        kAnyButton, onLoop(ports_.mainLoop, lifetime_.token(), [this](const MouseDown& press) {
            wakeTick();
            dismissRevealedDocks(press.location);
        })));
    pressMonitors_.push_back(
        ports_.events.onLocalMouseDown(kAnyButton, lifetime_.guard([this](const MouseDown&) { wakeTick(); })));
    tickOrigin_ = ports_.clock.mediaNow();
    lastTick_ = tickOrigin_;
    resting_ = false;
    autoHideTimer_ = ports_.mainLoop.every(kTickPeriod, lifetime_.guard([this] { autoHideTick(); }));
}

void DockController::stop() {
    expectOnLoop(ports_.mainLoop);
    isPeeking_ = false;
    peekKeyCode_.reset();
    autoHideTimer_.cancel();
    resting_ = false;
    tickWakers_.clear();
    pressMonitors_.clear();
    pointerMotion_.reset();
    followsPointer_ = false;
    pinned_.onLayoutChange = nullptr;
    screenObserver_.reset();
    profilesObserver_.reset();
    runningObserver_.reset();
    previewHide_.cancel();
    previewPanel_.reset();
    previewOwner_.reset();
    groups_.clear();
    panels_.clear();
    // Open popovers outlive a stop; the next rebuild drops the counts of vanished panels.
    concealed_.clear();
    heldOut_.clear();
    lastInside_.clear();
    revealDwell_.clear();
    knock_.clear();
    seamKnock_.clear();
    clearGlints();
    beacon().reset();
}

void DockController::rebuildPanels() {
    expectOnLoop(ports_.mainLoop);
    wakeTick();
    std::set<PanelKey> wanted;
    screens_ = ports_.screens.screens();
    for (const ScreenInfo& screen : screens_) {
        for (const StackedFrame& entry : stackedFrames(screen)) {
            const PanelKey key{*screen.id, entry.profile.id};
            wanted.insert(key);
            if (const auto it = panels_.find(key); it != panels_.end()) {
                it->second->setFrame(entry.frame);
                continue;
            }
            std::unique_ptr<Panel> panel = makePanel(key, entry.frame);
            panel->orderFront();
            panels_[key] = std::move(panel);
            // A new panel stands revealed for at least the leave delay.
            lastInside_[key] = ports_.clock.mediaNow();
        }
    }
    const auto unwanted = [&wanted](const auto& entry) { return !wanted.contains(entry.first); };
    const std::size_t removed = std::erase_if(panels_, unwanted);
    const auto unwantedKey = [&wanted](const PanelKey& key) { return !wanted.contains(key); };
    std::erase_if(concealed_, unwantedKey);
    std::erase_if(heldOut_, unwantedKey);
    std::erase_if(lastInside_, unwanted);
    std::erase_if(interactionLocks_, unwanted);
    if (removed > 0) beacon().reset();
    regroupPanels();
    const auto vanished = [this](const auto& entry) { return !groups_.contains(entry.first); };
    std::erase_if(revealDwell_, vanished);
    std::erase_if(knock_, vanished);
    std::erase_if(seamKnock_, vanished);
    std::erase_if(lastSeam_, vanished);
}

void DockController::regroupPanels() {
    groups_.clear();
    for (const auto& [key, panel] : panels_) {
        if (const Profile* profile = pinned_.findProfile(key.profile)) {
            groups_[EdgeGroup{key.display, profile->edge}].push_back(Member{key, panel.get()});
        }
    }
}

std::set<Pid> DockController::runningProcesses() const {
    std::set<Pid> pids;
    for (const RunningApp& app : ports_.apps.runningApps())
        pids.insert(app.pid);
    return pids;
}

// An application identified anew can join or leave another's tile while no window changes.
// Launches and ends are left to the window list, which follows them with their windows: a
// refresh at each would shrink a dock and grow it again while the windows catch up.
void DockController::runningChanged() {
    std::set<Pid> pids = runningProcesses();
    const bool sameProcesses = pids == runningProcesses_;
    runningProcesses_ = std::move(pids);
    if (sameProcesses) refreshFrames();
}

void DockController::refreshFrames() {
    expectOnLoop(ports_.mainLoop);
    bool animated = false;
    for (const ScreenInfo& screen : ports_.screens.screens()) {
        for (const StackedFrame& entry : stackedFrames(screen)) {
            const PanelKey key{*screen.id, entry.profile.id};
            const auto it = panels_.find(key);
            if (it == panels_.end() || it->second->frame() == entry.frame) continue;
            wakeTick();
            Panel& panel = *it->second;
            if (concealed_.contains(key)) {
                // A hide still under way is left to finish; it ends at the resting frame.
                if (!panel.isVisible()) panel.setFrame(entry.frame);
                continue;
            }
            // The move replaces a reveal still under way, which must still end opaque.
            panel.animate(kFrameChange, 1.0, entry.frame);
            noteAnimation(kFrameChange.duration);
            animated = true;
        }
    }
    // The preview would stand beside where the dock was.
    if (animated) hidePreviewNow();
}

std::vector<StackedFrame> DockController::stackedFrames(const ScreenInfo& screen) const {
    if (!screen.id || !screen.stableId) return {};
    return quillbern::stackedFrames(pinned_.visibleProfiles(), screen.visibleFrame, *screen.id, *screen.stableId,
                                    frameInputs());
}

std::optional<RectBL> DockController::stackedFrame(const PanelKey& key) const {
    const std::vector<ScreenInfo> screens = ports_.screens.screens();
    const auto screen =
        std::find_if(screens.begin(), screens.end(), [&key](const ScreenInfo& s) { return s.id == key.display; });
    if (screen == screens.end()) return std::nullopt;
    for (const StackedFrame& entry : stackedFrames(*screen)) {
        if (entry.profile.id == key.profile) return entry.frame;
    }
    return std::nullopt;
}

void DockController::toggleHeldOut(const Uuid& profileID) {
    expectOnLoop(ports_.mainLoop);
    wakeTick();
    const auto ofDock = [&profileID](const auto& entry) { return entry.first.profile == profileID; };
    if (isHeldOut(profileID)) {
        std::erase_if(heldOut_, [&](const PanelKey& key) {
            if (key.profile != profileID) return false;
            lastInside_[key] = kDistantPast;
            return true;
        });
        return;
    }
    // Showing a hidden dock rebuilds the panels at once through the layout callback.
    if (std::none_of(panels_.begin(), panels_.end(), ofDock)) pinned_.setVisible(profileID, true);
    for (const auto& entry : panels_) {
        if (!ofDock(entry)) continue;
        heldOut_.insert(entry.first);
        if (concealed_.contains(entry.first)) reveal(entry.first);
    }
}

bool DockController::isHeldOut(const Uuid& profileID) const {
    return std::any_of(heldOut_.begin(), heldOut_.end(),
                       [&profileID](const PanelKey& key) { return key.profile == profileID; });
}

void DockController::setPeeking(bool pressed, std::optional<KeyCode> keyCode) {
    expectOnLoop(ports_.mainLoop);
    if (pressed == isPeeking_) return;
    wakeTick();
    isPeeking_ = pressed;
    peekKeyCode_ = pressed ? keyCode : std::nullopt;
    if (pressed && !isPlacingDrag()) revealAllConcealed();
}

void DockController::setInteractionLock(bool locked, const PanelKey& key) {
    expectOnLoop(ports_.mainLoop);
    wakeTick();
    const auto it = interactionLocks_.find(key);
    const int n = (it == interactionLocks_.end() ? 0 : it->second) + (locked ? 1 : -1);
    interactionLocks_[key] = std::max(n, 0);
    if (n < 1) return;
    lastInside_[key] = ports_.clock.mediaNow();
    if (concealed_.contains(key)) reveal(key);
}

std::optional<std::uint64_t> DockController::panelSerial(const PanelKey& key) const {
    const auto it = panels_.find(key);
    if (it == panels_.end()) return std::nullopt;
    return it->second->serial();
}

std::vector<PanelKey> DockController::panelKeys() const {
    std::vector<PanelKey> keys;
    for (const auto& entry : panels_)
        keys.push_back(entry.first);
    return keys;
}

LaunchBeaconController& DockController::beacon() {
    expectOnLoop(ports_.mainLoop);
    if (!beacon_) {
        beacon_ = std::make_unique<LaunchBeaconController>(LaunchBeaconController::Ports{.panels = ports_.panels,
                                                                                         .views = ports_.views,
                                                                                         .screens = ports_.screens,
                                                                                         .input = ports_.input,
                                                                                         .system = ports_.system,
                                                                                         .mainLoop = ports_.mainLoop,
                                                                                         .clock = ports_.clock},
                                                           launching_, preferences_, appearance_);
    }
    return *beacon_;
}

std::unique_ptr<Panel> DockController::makePanel(const PanelKey& key, RectBL frame) {
    PanelStyle style;
    style.level = PanelLevel::dock;
    style.isDockPanel = true;
    DockContent content;
    content.engine = &engine_;
    content.pinned = &pinned_;
    content.appearance = &appearance_;
    content.system = &ports_.system;
    content.permission = &permission_;
    content.apps = &ports_.apps;
    content.workspace = workspace;
    content.locations = ports_.locations;
    content.mainLoop = &ports_.mainLoop;
    content.clock = &ports_.clock;
    content.files = &ports_.files;
    content.folders = &ports_.folders;
    content.catalog = &ports_.catalog;
    content.launcher = &ports_.launcher;
    content.alerts = &ports_.alerts;
    content.profile = key.profile;
    content.display = key.display;
    content.onHoverTile =
        lifetime_.guard([this, key](const std::optional<WindowInfo>& window) { hoverChanged(window, key); });
    content.onInteractionLock = lifetime_.guard([this, key](bool locked) { setInteractionLock(locked, key); });
    content.onColdLaunch = lifetime_.guard([this](const PinnedApp& app) { beacon().coldLaunchBegan(app); });
    std::unique_ptr<Panel> panel = ports_.panels.createPanel(style, frame, ports_.views.dockBar(std::move(content)));
    panel->setCommandClickHandler(lifetime_.guard([this] {
        if (onCommandClick) onCommandClick();
    }));
    panel->setFrame(frame);
    return panel;
}

DockFrameInputs DockController::frameInputs() const {
    return {appearance_.tileSize(), appearance_.showsLabels(), engine_.isTrusted(), engine_.snapshot().windows,
            transientApps_};
}

}  // namespace quillbern
