#include "core/dock/DockController.h"

#include <set>

namespace quillbern {

DockController::DockController(Ports ports, WindowEngine& engine, PinnedStore& pinned,
                               const DockPreferences& preferences, AppearanceStore& appearance,
                               TransientAppCount transientApps, LaunchingApps& launching)
    : ports_(ports),
      engine_(engine),
      pinned_(pinned),
      preferences_(preferences),
      appearance_(appearance),
      transientApps_(std::move(transientApps)),
      launching_(launching) {}

DockController::~DockController() = default;

void DockController::start() {
    rebuildPanels();
    screenObserver_ = ports_.screens.onChanged(lifetime_.guard([this] { rebuildPanels(); }));
    pinned_.onLayoutChange = lifetime_.guard([this] { rebuildPanels(); });
    pinned_.onContentChange = lifetime_.guard([this] { refreshFrames(); });
}

void DockController::stop() {
    pinned_.onLayoutChange = nullptr;
    screenObserver_.reset();
    panels_.clear();
    beacon().reset();
}

void DockController::rebuildPanels() {
    std::set<PanelKey> wanted;
    for (const ScreenInfo& screen : ports_.screens.screens()) {
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
        }
    }
    const std::size_t removed =
        std::erase_if(panels_, [&wanted](const auto& entry) { return !wanted.contains(entry.first); });
    if (removed > 0) beacon().reset();
}

void DockController::refreshFrames() {
    for (const ScreenInfo& screen : ports_.screens.screens()) {
        for (const StackedFrame& entry : stackedFrames(screen)) {
            const auto it = panels_.find(PanelKey{*screen.id, entry.profile.id});
            if (it == panels_.end() || it->second->frame() == entry.frame) continue;
            it->second->animate(kFrameChange, std::nullopt, entry.frame);
        }
    }
}

std::vector<StackedFrame> DockController::stackedFrames(const ScreenInfo& screen) const {
    if (!screen.id || !screen.stableId) return {};
    return quillbern::stackedFrames(visibleProfiles(), screen.visibleFrame, *screen.id, *screen.stableId,
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

std::optional<std::uint64_t> DockController::panelSerial(const PanelKey& key) const {
    const auto it = panels_.find(key);
    if (it == panels_.end()) return std::nullopt;
    return it->second->serial();
}

std::vector<PanelKey> DockController::panelKeys() const {
    std::vector<PanelKey> keys;
    for (const auto& entry : panels_) keys.push_back(entry.first);
    return keys;
}

LaunchBeaconController& DockController::beacon() {
    if (!beacon_) {
        beacon_ = std::make_unique<LaunchBeaconController>(
            LaunchBeaconController::Ports{ports_.panels, ports_.screens, ports_.input, ports_.system, ports_.mainLoop,
                                          ports_.clock},
            launching_, preferences_, appearance_);
    }
    return *beacon_;
}

std::unique_ptr<Panel> DockController::makePanel(const PanelKey& key, RectBL frame) {
    PanelStyle style;
    style.level = PanelLevel::dock;
    std::unique_ptr<Panel> panel = ports_.panels.createPanel(
        style, frame, DockContent{&pinned_, &appearance_, &ports_.system, key.profile, key.display});
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

std::vector<Profile> DockController::visibleProfiles() const {
    std::vector<Profile> visible;
    for (const Profile& profile : pinned_.profiles()) {
        if (profile.isVisible && profile.isEnabled) visible.push_back(profile);
    }
    return visible;
}

}  // namespace quillbern
