#include "core/workspace/PlacementController.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace quillbern {

namespace {

constexpr KeyCode kEscapeKey = 53;
constexpr std::string_view kAppPrefix = "app:";

bool isAppItem(const std::string& itemID) {
    return itemID.starts_with(kAppPrefix);
}

std::string bundleIDOf(const std::string& itemID) {
    return itemID.substr(kAppPrefix.size());
}

void reset(WorkspacePreviewHolder& holder) {
    holder.setCellFrames({});
    holder.setHighlighted(std::nullopt);
    holder.setFullNotice(std::nullopt);
}

// The cells in the overlay's own space: from its screen's top-left corner, y down.
std::vector<Rect> panelLocal(const std::vector<RectBL>& frames, const RectBL& screenFrame) {
    std::vector<Rect> cells;
    cells.reserve(frames.size());
    for (const RectBL& r : frames)
        cells.push_back({r.minX() - screenFrame.minX(), screenFrame.maxY() - r.maxY(), r.width, r.height});
    return cells;
}

}  // namespace

PlacementController::PlacementController(Ports ports, const WindowEngine& engine, PinnedStore& pinned,
                                         WorkspaceController& workspace)
    : ports_(ports), engine_(engine), pinned_(pinned), workspace_(workspace) {}

void PlacementController::dragSessionChanged() {
    expectOnLoop(ports_.mainLoop);
    ++watchGeneration_;
    releaseWatch_.cancel();
    const std::optional<DragSession>& session = pinned_.dragSession();
    if (!session) return hide();
    if (isAppItem(session->itemID) && engine_.isTrusted()) return show(session->itemID);
    hide();
    watchForRelease();
}

void PlacementController::show(const std::string& itemID) {
    teardownSessionInfra();
    ++showGeneration_;
    const std::vector<ScreenInfo> screens = ports_.screens.screens();
    if (screensChanged(screens)) rebuildOverlays(screens);
    for (Overlay& overlay : overlays_) {
        reset(*overlay.holder);
        overlay.panel->setAlpha(0);
        overlay.panel->orderFront();
    }
    for (Overlay& overlay : overlays_)
        overlay.panel->animate(kFadeIn, 1.0, std::nullopt);
    active_ = true;
    zonePoll_ = ports_.mainLoop.every(kPollInterval, lifetime_.guard([this, itemID] { zonePollTick(itemID); }));
    escTap_ = ports_.events.tapKeyDown(lifetime_.guard([this](const KeyTapEvent& event) { tapEvent(event); }));
    // Other listeners of the change run first; the drag ends on the next turn.
    screenObserver_ = ports_.screens.onChanged(lifetime_.guard([this, generation = showGeneration_] {
        ports_.mainLoop.post(lifetime_.guard([this, generation] {
            if (showGeneration_ == generation) endDrag();
        }));
    }));
    safetyTimer_ = ports_.mainLoop.after(kSafetyLimit, lifetime_.guard([this] {
        hide();
        endDrag();
    }));
}

bool PlacementController::screensChanged(const std::vector<ScreenInfo>& screens) const {
    if (screens.size() != overlays_.size()) return true;
    // A display replaced by another of the same geometry keeps its overlay, id and all.
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (overlays_[i].screenFrame != screens[i].frame || overlays_[i].visibleFrame != screens[i].visibleFrame)
            return true;
    }
    return false;
}

void PlacementController::rebuildOverlays(const std::vector<ScreenInfo>& screens) {
    for (Overlay& overlay : overlays_)
        overlay.panel->orderOut();
    overlays_.clear();
    PanelStyle style;
    style.level = PanelLevel::placement;
    style.ignoresMouse = true;
    for (const ScreenInfo& screen : screens) {
        Overlay overlay;
        overlay.holder = std::make_unique<WorkspacePreviewHolder>();
        overlay.panel = ports_.panels.createPanel(style, screen.frame,
                                                  ports_.views.placement({.holder = overlay.holder.get(),
                                                                          .system = &ports_.system,
                                                                          .mainLoop = &ports_.mainLoop,
                                                                          .clock = &ports_.clock}));
        overlay.displayID = screen.id;
        overlay.screenFrame = screen.frame;
        overlay.visibleFrame = screen.visibleFrame;
        overlays_.push_back(std::move(overlay));
    }
}

void PlacementController::hide() {
    if (!active_) return;
    active_ = false;
    teardownSessionInfra();
    const std::int64_t generation = ++showGeneration_;
    for (Overlay& overlay : overlays_)
        reset(*overlay.holder);
    for (Overlay& overlay : overlays_)
        overlay.panel->animate(kFadeOut, 0.0, std::nullopt);
    // A show before then keeps the panels in.
    ports_.mainLoop
        .after(kOrderOutDelay, lifetime_.guard([this, generation] {
            if (showGeneration_ != generation) return;
            for (Overlay& overlay : overlays_)
                overlay.panel->orderOut();
        }))
        .detach();
}

void PlacementController::teardownSessionInfra() {
    screenObserver_.reset();
    zonePoll_.cancel();
    safetyTimer_.cancel();
    escTap_.reset();
    escLatched_ = false;
}

void PlacementController::zonePollTick(const std::string& itemID) {
    // Clearing the drag below tears this very timer down; its task lives on until it returns,
    // and reads nothing of the controller after the clearing.
    if (escLatched_ || ports_.input.isKeyDown(kEscapeKey)) return endDrag();
    updatePreviewFromMouse(itemID);
    if (ports_.input.pressedButtons() & kLeftButton) return;
    zonePoll_.cancel();
    if (!overOwnDropTarget(ports_.input.pointer())) return dragDidEnd();
    // Their own drop handling clears the drag meanwhile, and the hide raises the generation.
    ports_.mainLoop
        .after(kReleaseGrace, lifetime_.guard([this, generation = showGeneration_] {
            if (showGeneration_ == generation) dragDidEnd();
        }))
        .detach();
}

void PlacementController::updatePreviewFromMouse(const std::string& itemID) {
    const std::string bundleID = bundleIDOf(itemID);
    const PointBL mouse = ports_.input.pointer();
    for (Overlay& overlay : overlays_) {
        if (!overlay.displayID) continue;
        const std::optional<WorkspacePreview> preview = workspace_.dragPreview(
            bundleID, *overlay.displayID, overlay.visibleFrame, overlay.screenFrame.contains(mouse), mouse);
        WorkspacePreviewHolder& holder = *overlay.holder;
        // Cells first, so a highlight never points past the cells drawn.
        std::vector<Rect> cells = preview ? panelLocal(preview->frames, overlay.screenFrame) : std::vector<Rect>{};
        if (holder.cellFrames() != cells) holder.setCellFrames(std::move(cells));
        const std::optional<std::size_t> highlighted = preview ? preview->highlighted : std::nullopt;
        if (holder.highlighted() != highlighted) holder.setHighlighted(highlighted);
        const std::optional<std::string>& notice = preview ? preview->notice : std::nullopt;
        if (holder.fullNotice() != notice) holder.setFullNotice(notice);
    }
}

void PlacementController::dragDidEnd() {
    if (!active_) return;
    const std::optional<DragSession>& session = pinned_.dragSession();
    if (!session) return;
    if (!isAppItem(session->itemID)) return endDrag();
    const std::string bundleID = bundleIDOf(session->itemID);
    const PointBL mouse = ports_.input.pointer();
    if (overOwnWindowAtDrop(mouse)) return endDrag();
    // The drop takes the screen whose top edge holds the point, where the preview took the
    // one whose bottom edge does: on a seam they differ.
    for (const ScreenInfo& screen : ports_.screens.screens()) {
        if (!mouseInRect(mouse, screen.frame)) continue;
        if (screen.id) workspace_.drop(bundleID, *screen.id, mouse);
        break;
    }
    endDrag();
}

void PlacementController::watchForRelease() {
    releaseWatch_ = ports_.mainLoop.every(
        kPollInterval, lifetime_.guard([this, generation = watchGeneration_] { releaseWatchTick(generation); }));
}

void PlacementController::releaseWatchTick(std::int64_t generation) {
    const bool escape = ports_.input.isKeyDown(kEscapeKey);
    if (!escape && (ports_.input.pressedButtons() & kLeftButton)) return;
    releaseWatch_.cancel();
    if (escape || !overOwnDropTarget(ports_.input.pointer())) return endDrag();
    ports_.mainLoop
        .after(kReleaseGrace, lifetime_.guard([this, generation] {
            if (watchGeneration_ == generation && pinned_.dragSession()) endDrag();
        }))
        .detach();
}

void PlacementController::tapEvent(const KeyTapEvent& event) {
    switch (event.kind) {
        case KeyTapEvent::Kind::keyDown:
            if (event.keyCode != kEscapeKey) return;
            // Seen at the next tick; a latch set after a teardown is undone by the next show.
            ports_.mainLoop.post(lifetime_.guard([this] { escLatched_ = true; }));
            return;
        case KeyTapEvent::Kind::disabledByTimeout:
            ports_.mainLoop.post(lifetime_.guard([this] {
                if (escTap_) escTap_->setEnabled(true);
            }));
            return;
        case KeyTapEvent::Kind::disabledByUser:
            // The user's wish: the tap stays off until the next show.
            return;
    }
}

bool PlacementController::overOwnDropTarget(PointBL mouse) const {
    const std::vector<OwnWindow> windows = ports_.panels.ownWindows();
    return std::ranges::any_of(windows, [mouse](const OwnWindow& w) {
        return w.isVisible && w.frame.contains(mouse) && (w.isDockPanel || w.isTitled);
    });
}

bool PlacementController::overOwnWindowAtDrop(PointBL mouse) const {
    const std::vector<OwnWindow> windows = ports_.panels.ownWindows();
    return std::ranges::any_of(windows, [mouse](const OwnWindow& w) {
        if (!w.isVisible) return false;
        if (w.isDockPanel) return w.frame.insetBy(-kDockDropMargin, -kDockDropMargin).contains(mouse);
        return w.isTitled && w.frame.contains(mouse);
    });
}

void PlacementController::endDrag() {
    pinned_.setDragSession(std::nullopt);
}

}  // namespace quillbern
