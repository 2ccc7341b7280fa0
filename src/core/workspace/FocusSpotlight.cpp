#include "core/workspace/FocusSpotlight.h"

#include <algorithm>

#include "core/platform/ScreenGeometry.h"
#include "core/workspace/VeilPanels.h"

namespace quillbern {

FocusSpotlight::FocusSpotlight(Ports ports, const WindowEngine& engine, const AppearanceStore& appearance)
    : ports_(ports), engine_(engine), appearance_(appearance) {}

void FocusSpotlight::flash(const WindowInfo& window, Duration waited) {
    expectOnLoop(ports_.mainLoop);
    if (!appearance_.spotlightEnabled()) return;
    if (activeFlashID_ == window.id) return;
    cancel();
    activeFlashID_ = window.id;
    const Duration delay = std::max(0.0, (window.isMinimized ? kMinimizedDelay : kDelay) - waited);
    flashWork_ = ports_.mainLoop.after(delay, [this, id = window.id, frame = window.frame] { beginFlash(id, frame); });
}

void FocusSpotlight::cancel() {
    expectOnLoop(ports_.mainLoop);
    activeFlashID_.reset();
    flashWork_.cancel();
    teardownWork_.cancel();
    for (std::unique_ptr<Panel>& panel : panels_)
        closeVeilPanel(std::move(panel));
    panels_.clear();
    closeDying();
}

void FocusSpotlight::beginFlash(WindowId id, const RectTL& fallbackFrame) {
    const std::vector<WindowInfo>& windows = engine_.snapshot().windows;
    const auto found = std::find_if(windows.begin(), windows.end(), [id](const WindowInfo& w) { return w.id == id; });
    if (found == windows.end()) return dropClaim(id);
    // The window may have moved since the request, as a restored one does.
    const RectTL frame = !found->frame.isEmpty() ? found->frame : fallbackFrame;
    if (frame.isEmpty()) return dropClaim(id);

    const std::vector<ScreenInfo> screens = ports_.screens.screens();
    const RectBL hole = toBottomLeft(frame, flipHeight(screens));
    if (const ScreenInfo* best = bestScreen(hole, screens)) {
        const RectBL covered = best->frame;
        // Mirrored screens share the frame: each gets its veil.
        for (const ScreenInfo& screen : screens) {
            if (screen.frame != covered) continue;
            std::unique_ptr<Panel> panel = makeVeilPanel(ports_.panels, ports_.views, screen.frame);
            panel->setVeil(hole, appearance_.veilIntensity());
            panel->setAlpha(0);
            panel->orderFront();
            panels_.push_back(std::move(panel));
        }
    }
    for (const std::unique_ptr<Panel>& panel : panels_)
        panel->animate(kFadeIn, 1.0, std::nullopt);
    teardownWork_ = ports_.mainLoop.after(kFadeIn.duration + kHold, [this] { dissolve(); });
}

void FocusSpotlight::dissolve() {
    for (std::unique_ptr<Panel>& panel : panels_)
        dying_.push_back(std::move(panel));
    panels_.clear();
    for (const std::unique_ptr<Panel>& panel : dying_)
        panel->animate(kFadeOut, 0.0, std::nullopt);
    teardownWork_ = ports_.mainLoop.after(kFadeOut.duration + kCloseMargin, [this] { closeDying(); });
}

void FocusSpotlight::closeDying() {
    for (std::unique_ptr<Panel>& panel : dying_)
        closeVeilPanel(std::move(panel));
    dying_.clear();
    if (panels_.empty()) activeFlashID_.reset();
}

void FocusSpotlight::dropClaim(WindowId id) {
    if (activeFlashID_ == id) activeFlashID_.reset();
}

}  // namespace quillbern
