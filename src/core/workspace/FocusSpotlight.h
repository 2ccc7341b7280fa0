#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/model/AppearanceStore.h"
#include "core/platform/PanelHost.h"
#include "core/platform/Screens.h"
#include "core/windows/WindowEngine.h"
#include "core/workspace/WorkspaceViewFactory.h"

namespace quillbern {

// Shows where a window has just landed: shortly after it was raised or its application
// activated, the screen that holds most of it is dimmed all around it for a moment, with a
// faint ring at its edge, and the veil then dissolves. One flash at a time: a request for
// the window already flashing is ignored until its veil has closed, one for another window
// replaces the flash at once. Off unless the appearance setting asks for it. Main thread.
class FocusSpotlight {
public:
    static constexpr Duration kDelay = 0.3;
    // A minimised window takes longer to come back.
    static constexpr Duration kMinimizedDelay = 0.55;
    static constexpr Animation kFadeIn{0.12, AnimationCurve::easeInOut};
    // At full strength after the fade in.
    static constexpr Duration kHold = 0.45;
    static constexpr Animation kFadeOut{0.3, AnimationCurve::easeInOut};
    // After the fade out, before the panels close.
    static constexpr Duration kCloseMargin = 0.05;

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PanelHost& panels;
        WorkspaceViewFactory& views;
        Screens& screens;
        RunLoop& mainLoop;
    };

    FocusSpotlight(Ports ports, const WindowEngine& engine, const AppearanceStore& appearance);
    FocusSpotlight(const FocusSpotlight&) = delete;
    FocusSpotlight& operator=(const FocusSpotlight&) = delete;

    // The window as the caller saw it: its id, frame and whether it was minimised; the
    // delay counts from what asked for the flash, `waited` ago.
    void flash(const WindowInfo& window, Duration waited = 0);
    // Ends any pending or shown flash at once, without a fade.
    void cancel();

private:
    void beginFlash(WindowId id, const RectTL& fallbackFrame);
    void dissolve();
    void closeDying();
    void dropClaim(WindowId id);

    Ports ports_;
    const WindowEngine& engine_;
    const AppearanceStore& appearance_;
    std::vector<std::unique_ptr<Panel>> panels_;
    // Fading out, closed when the fade has run.
    std::vector<std::unique_ptr<Panel>> dying_;
    Timer flashWork_;
    // The dissolve, or the closing of the dying panels.
    Timer teardownWork_;
    // The window whose flash is pending or showing.
    std::optional<WindowId> activeFlashID_;
};

}  // namespace quillbern
