#include "core/workspace/FocusModeController.h"

#include <algorithm>
#include <tuple>

#include "core/foundation/Log.h"
#include "core/platform/ScreenGeometry.h"
#include "core/windows/AccessFunctions.h"
#include "core/workspace/VeilPanels.h"

namespace quillbern {

namespace {

// Frames as a set: sorted, each once.
std::vector<RectBL> frameSet(std::vector<RectBL> frames) {
    const auto key = [](const RectBL& r) { return std::tuple(r.x, r.y, r.width, r.height); };
    std::sort(frames.begin(), frames.end(), [&](const RectBL& a, const RectBL& b) { return key(a) < key(b); });
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

}  // namespace

FocusModeController::FocusModeController(Ports ports, const WindowEngine& engine, const AppearanceStore& appearance,
                                         AXPermission& permission)
    : ports_(ports), engine_(engine), appearance_(appearance), permission_(permission) {}

FocusModeController::~FocusModeController() {
    if (active_) turnOff();
}

std::vector<const Panel*> FocusModeController::panels() const {
    std::vector<const Panel*> panels;
    for (const Veil& veil : veils_)
        panels.push_back(veil.panel.get());
    return panels;
}

void FocusModeController::setActive(bool on) {
    expectOnLoop(ports_.mainLoop);
    if (on == active_) return;
    if (!on) return turnOff();
    if (!engine_.isTrusted()) {
        log("focus mode needs window access, granted while a window manager that follows EWMH runs; it stays off");
        // Where the prompt cannot grant it, the prompt opens the settings page itself.
        permission_.promptRepairingStaleEntry();
        return;
    }
    active_ = true;
    onSession_.emplace();
    if (onActivate) onActivate();
    screenObserver_ = ports_.screens.onChanged(postedWhileOn(&FocusModeController::rebuildPanels));
    followTimer_ = ports_.mainLoop.every(kFollowInterval, postedWhileOn(&FocusModeController::followFocusedFrame));
    apply(engine_.snapshot());
}

void FocusModeController::turnOff() {
    active_ = false;
    screenObserver_.reset();
    followTimer_.cancel();
    retry_.cancel();
    onSession_.reset();
    focusedWindowID_.reset();
    hole_.reset();
    suspendedForDrag_ = false;
    tearDown();
}

Task FocusModeController::postedWhileOn(void (FocusModeController::*step)()) {
    return [this, step, session = onSession_->token()] {
        ports_.mainLoop.post([this, step, session] {
            if (session.isAlive()) (this->*step)();
        });
    };
}

void FocusModeController::apply(const WindowSnapshot& snapshot) {
    expectOnLoop(ports_.mainLoop);
    if (!active_) return;
    lastApplyHidVeil_ = false;
    const auto focused = std::find_if(snapshot.windows.begin(), snapshot.windows.end(),
                                      [](const WindowInfo& w) { return w.isFocused && !w.isMinimized; });
    // A focused window without a frame leaves nothing to cut out: as if none were focused.
    if (focused == snapshot.windows.end() || focused->frame.isEmpty()) return noUsableFocusedWindow();

    retry_.cancel();
    const std::optional<WindowId> previous = std::exchange(focusedWindowID_, focused->id);
    ensurePanels();
    // Focus moved to a window that is being dragged away at once: the tick after the
    // release places the hole where the window ended.
    if (previous != focused->id && leftButtonDown()) {
        if (!suspendedForDrag_) enterDragSuspension();
        return;
    }
    if (hole_ != focused->frame) moveHole(focused->frame);
    // A veil faded out earlier comes back even where the hole stayed.
    presentVeil(toBottomLeft(*hole_, flipHeight(ports_.screens.screens())));
}

void FocusModeController::refreshIntensity() {
    expectOnLoop(ports_.mainLoop);
    if (!active_ || !hole_) return;
    // Only the dimming changes: the panels see the same hole.
    drawVeils(toBottomLeft(*hole_, flipHeight(ports_.screens.screens())));
}

void FocusModeController::noUsableFocusedWindow() {
    const std::vector<OwnWindow> own = ports_.panels.ownWindows();
    // Our own process is not among the running applications: our windows tell when we
    // are in front.
    const bool ours = weHoldFocus(own);
    const std::optional<RunningApp> front = ours ? std::nullopt : ports_.apps.frontmostApp();
    const AppId ownId = ports_.process.appId();
    if (front && front->appId != ownId && front->policy == ActivationPolicy::regular) return hideVeil();
    const bool showsNormalWindow =
        std::any_of(own.begin(), own.end(), [](const OwnWindow& w) { return w.isVisible && !w.level; });
    if ((ours || (front && front->appId == ownId)) && showsNormalWindow) hideVeil();
    if (!retry_.isPending())
        retry_ = ports_.mainLoop.every(kRetryInterval, postedWhileOn(&FocusModeController::retryApply));
}

bool FocusModeController::weHoldFocus(const std::vector<OwnWindow>& own) const {
    return std::any_of(own.begin(), own.end(),
                       [](const OwnWindow& w) { return w.isVisible && w.isTitled && w.hasFocus; });
}

void FocusModeController::retryApply() {
    if (active_) apply(engine_.snapshot());
}

void FocusModeController::followFocusedFrame() {
    if (!active_ || !focusedWindowID_) return;
    const bool buttonDown = leftButtonDown();
    if (suspendedForDrag_) {
        if (buttonDown) return;
        suspendedForDrag_ = false;
        const OnScreenBounds bounds = cgOnScreenBounds(ports_.windowList);
        const auto found = bounds.find(*focusedWindowID_);
        if (found != bounds.end() && hole_ != found->second) moveHole(found->second);
        if (hole_) presentVeil(toBottomLeft(*hole_, flipHeight(ports_.screens.screens())));
        return;
    }
    const OnScreenBounds bounds = cgOnScreenBounds(ports_.windowList);
    const auto found = bounds.find(*focusedWindowID_);
    // Missing from the list: the next snapshot decides.
    if (found == bounds.end() || hole_ == found->second) return;
    if (buttonDown) return enterDragSuspension();
    moveHole(found->second);
}

void FocusModeController::moveHole(const RectTL& hole) {
    hole_ = hole;
    const RectBL global = toBottomLeft(hole, flipHeight(ports_.screens.screens()));
    drawVeils(global);
    presentVeil(global);
}

void FocusModeController::drawVeils(const RectBL& holeGlobal) {
    for (Veil& veil : veils_)
        veil.panel->setVeil(holeGlobal, appearance_.veilIntensity());
}

void FocusModeController::hideVeil() {
    focusedWindowID_.reset();
    hole_.reset();
    lastApplyHidVeil_ = true;
    for (Veil& veil : veils_)
        fade(veil, 0);
}

void FocusModeController::enterDragSuspension() {
    suspendedForDrag_ = true;
    for (Veil& veil : veils_)
        fade(veil, 0);
}

void FocusModeController::presentVeil(const RectBL& holeGlobal) {
    if (suspendedForDrag_) return;
    const std::vector<ScreenInfo> screens = ports_.screens.screens();
    const ScreenInfo* target = bestScreen(holeGlobal, screens);
    for (Veil& veil : veils_)
        fade(veil, target && veil.coveredFrame == target->frame ? 1 : 0);
}

void FocusModeController::fade(Veil& veil, double alpha) {
    if (veil.alpha == alpha) return;
    veil.alpha = alpha;
    veil.panel->animate(kFade, alpha, std::nullopt);
}

void FocusModeController::ensurePanels() {
    std::vector<RectBL> screens;
    for (const ScreenInfo& screen : ports_.screens.screens())
        screens.push_back(screen.frame);
    std::vector<RectBL> covered;
    for (const Veil& veil : veils_)
        covered.push_back(veil.coveredFrame);
    if (frameSet(std::move(screens)) != frameSet(std::move(covered))) rebuildPanels();
}

void FocusModeController::rebuildPanels() {
    if (!active_) return;
    const std::optional<RectTL> kept = hole_;
    tearDown();
    for (const ScreenInfo& screen : ports_.screens.screens()) {
        std::unique_ptr<Panel> panel = makeVeilPanel(ports_.panels, ports_.views, screen.frame);
        panel->setAlpha(0);
        panel->orderFront();
        veils_.push_back({std::move(panel), screen.frame, 0});
    }
    hole_.reset();
    apply(engine_.snapshot());
    // Nothing focused, yet nothing said to hide: the veil comes back where it was.
    const bool allOut = std::all_of(veils_.begin(), veils_.end(), [](const Veil& v) { return v.alpha == 0; });
    if (kept && !hole_ && !lastApplyHidVeil_ && allOut) moveHole(*kept);
}

void FocusModeController::tearDown() {
    for (Veil& veil : veils_)
        closeVeilPanel(std::move(veil.panel));
    veils_.clear();
}

bool FocusModeController::leftButtonDown() const {
    return (ports_.input.pressedButtons() & kLeftButton) != 0;
}

}  // namespace quillbern
