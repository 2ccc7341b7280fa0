#include "core/dock/LaunchBeaconController.h"

#include <algorithm>
#include <cmath>

#include "core/dock/BeaconMetrics.h"
#include "core/platform/ScreenGeometry.h"

namespace quillbern {

namespace {

bool holds(const std::vector<LaunchBeaconController::Entry>& entries, const std::string& bundleID) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const LaunchBeaconController::Entry& entry) { return entry.bundleID == bundleID; });
}

RectBL insetByFraction(const RectBL& frame, double fraction) {
    return frame.insetBy(frame.width * fraction, frame.height * fraction);
}

}  // namespace

LaunchBeaconController::LaunchBeaconController(Ports ports, LaunchingApps& launching,
                                               const DockPreferences& preferences, const AppearanceStore& appearance)
    : ports_(ports), launching_(launching), preferences_(preferences), appearance_(appearance) {
    launchingObserver_ = launching_.onLaunchingChanged(lifetime_.guard([this] { launchingChanged(); }));
}

void LaunchBeaconController::coldLaunchBegan(const PinnedApp& app) {
    expectOnLoop(ports_.mainLoop);
    if (!preferences_.launchBeacon()) return;
    const std::vector<ScreenInfo> screens = ports_.screens.screens();
    // Without a screen under the pointer the primary stands in, as the screen of the
    // active window when no window is active.
    const ScreenInfo* screen = screenContaining(ports_.input.pointer(), screens);
    if (!screen && !screens.empty()) screen = &screens.front();
    if (!screen) return;
    const DisplayId display = screen->id.value_or(0);

    std::vector<Entry>& entries = pending_[display];
    if (!holds(entries, app.bundleID)) entries.push_back({app.bundleID, app.name, launching_.icon(app)});
    screenAreas_[display] = screen->visibleFrame;
    present(display);
}

void LaunchBeaconController::prune(DisplayId display) {
    std::vector<Entry>& entries = pending_[display];
    std::erase_if(entries, [this](const Entry& entry) { return !launching_.isLaunching(entry.bundleID); });
}

void LaunchBeaconController::present(DisplayId display) {
    prune(display);
    const auto area = screenAreas_.find(display);
    if (area == screenAreas_.end() || pending_[display].empty()) return;

    std::vector<Entry>& merged = presented_[display];
    for (const Entry& entry : pending_[display]) {
        if (!holds(merged, entry.bundleID)) merged.push_back(entry);
    }
    const double tileSize = beacon::tileSize(appearance_.tileSize());
    const Size size = beacon::fittingSize(merged.size(), tileSize);
    const RectBL frame{std::round(area->second.midX() - size.width / 2),
                       std::round(area->second.midY() - size.height / 2), size.width, size.height};
    BeaconContent view = content(merged);

    if (const auto it = shown_.find(display); it != shown_.end()) {
        Shown& shown = it->second;
        shown.panel->setContent(ports_.views.launchBeacon(std::move(view)));
        shown.panel->animate(kMove, std::nullopt, frame);
        shown.shownAt = ports_.clock.mediaNow();
        shown.anyLaunching = anyLaunching(merged);
        return;
    }

    PanelStyle style;
    style.level = PanelLevel::dock;
    style.ignoresMouse = true;
    style.isDockPanel = true;
    // Reduce motion drops the growth; the fade stays.
    const RectBL start = ports_.system.reduceMotion() ? frame : insetByFraction(frame, 0.04);
    std::unique_ptr<Panel> panel = ports_.panels.createPanel(style, start, ports_.views.launchBeacon(std::move(view)));
    ++generationCounter_;
    panel->setAlpha(0);
    panel->orderFront();
    panel->animate(kAppear, 1.0, frame);
    shown_[display] = Shown{std::move(panel), ports_.clock.mediaNow(), generationCounter_, anyLaunching(merged)};
}

void LaunchBeaconController::launchingChanged() {
    expectOnLoop(ports_.mainLoop);
    std::vector<DisplayId> arrived;
    for (auto& [display, shown] : shown_) {
        const std::vector<Entry>& entries = presented_[display];
        shown.panel->setContent(ports_.views.launchBeacon(content(entries)));
        const bool launchingNow = anyLaunching(entries);
        if (launchingNow == shown.anyLaunching) continue;
        shown.anyLaunching = launchingNow;
        if (!launchingNow) arrived.push_back(display);
    }
    // The view reports arrival during its update; the step itself comes a turn later.
    for (const DisplayId display : arrived) {
        ports_.mainLoop.post(lifetime_.guard([this, display] { allArrived(display); }));
    }
}

void LaunchBeaconController::allArrived(DisplayId display) {
    prune(display);
    if (!pending_[display].empty()) return;
    const auto it = shown_.find(display);
    if (it == shown_.end()) return;
    const Duration elapsed = ports_.clock.mediaNow() - it->second.shownAt;
    const Duration delay = std::max(kMinimumShown - elapsed, 0.0);
    const std::uint64_t generation = it->second.generation;
    ports_.mainLoop
        .after(delay, lifetime_.guard([this, display, generation] {
            const auto current = shown_.find(display);
            if (current == shown_.end() || current->second.generation != generation) return;
            const auto waiting = pending_.find(display);
            if (waiting == pending_.end() || waiting->second.empty()) dismiss(display);
        }))
        .detach();
}

void LaunchBeaconController::dismiss(DisplayId display) {
    expectOnLoop(ports_.mainLoop);
    const auto it = shown_.find(display);
    if (it == shown_.end()) return;
    std::unique_ptr<Panel> panel = std::move(it->second.panel);
    shown_.erase(it);
    presented_.erase(display);
    if (ports_.system.reduceMotion()) return;  // the panel closes at once, without a fade

    const std::uint64_t serial = panel->serial();
    const RectBL target = insetByFraction(panel->frame(), 0.03);
    Panel& fadingPanel = *panel;
    fading_[serial] = std::move(panel);
    fadingPanel.animate(kDisappear, 0.0, target, lifetime_.guard([this, serial] { fading_.erase(serial); }));
}

void LaunchBeaconController::reset() {
    expectOnLoop(ports_.mainLoop);
    pending_.clear();
    presented_.clear();
    screenAreas_.clear();
    shown_.clear();
}

std::vector<LaunchBeaconController::Entry> LaunchBeaconController::pending(DisplayId display) const {
    const auto it = pending_.find(display);
    return it == pending_.end() ? std::vector<Entry>{} : it->second;
}

std::vector<LaunchBeaconController::Entry> LaunchBeaconController::presented(DisplayId display) const {
    const auto it = presented_.find(display);
    return it == presented_.end() ? std::vector<Entry>{} : it->second;
}

std::optional<std::uint64_t> LaunchBeaconController::shownPanel(DisplayId display) const {
    const auto it = shown_.find(display);
    if (it == shown_.end()) return std::nullopt;
    return it->second.panel->serial();
}

BeaconContent LaunchBeaconController::content(const std::vector<Entry>& entries) const {
    BeaconContent view;
    for (const Entry& entry : entries) {
        view.tiles.push_back({entry.bundleID, entry.name, entry.icon, launching_.isLaunching(entry.bundleID)});
    }
    view.tileSize = beacon::tileSize(appearance_.tileSize());
    view.cornerRadius = appearance_.cornerRadius();
    view.accent = ports_.system.accentColor();
    view.reduceMotion = ports_.system.reduceMotion();
    view.reduceTransparency = appearance_.reduceTransparency();
    view.canBlend = ports_.system.hasCompositor();
    return view;
}

bool LaunchBeaconController::anyLaunching(const std::vector<Entry>& entries) const {
    return std::any_of(entries.begin(), entries.end(),
                       [this](const Entry& entry) { return launching_.isLaunching(entry.bundleID); });
}

}  // namespace quillbern
