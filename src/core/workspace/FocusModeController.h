#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"
#include "core/model/AppearanceStore.h"
#include "core/platform/AppProcess.h"
#include "core/platform/InputState.h"
#include "core/platform/PanelHost.h"
#include "core/platform/RunningApps.h"
#include "core/platform/Screens.h"
#include "core/platform/WindowList.h"
#include "core/shortcuts/HotKeyTargets.h"
#include "core/windows/AXPermission.h"
#include "core/windows/WindowEngine.h"
#include "core/workspace/WorkspaceViewFactory.h"

namespace quillbern {

// Focus mode: one veil panel per screen, shown only on the screen that holds most of the
// focused window, dims everything there but a rounded hole over that window. The veil
// follows focus with each new window snapshot and the window itself through a follow tick
// over the on-screen list, steps aside while the left button drags, fades out while
// another application is in front without a focused window, and is built again when the
// screens change. Main thread.
class FocusModeController final : public FocusModeSwitch {
public:
    static constexpr Duration kFollowInterval = 0.25;
    // While no focused window can be found and nothing says why.
    static constexpr Duration kRetryInterval = 0.5;
    static constexpr Animation kFade{0.18, AnimationCurve::easeInOut};

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PanelHost& panels;
        WorkspaceViewFactory& views;
        Screens& screens;
        // Read on the main thread at each follow tick.
        const WindowList& windowList;
        const InputState& input;
        const RunningApps& apps;
        const AppProcess& process;
        RunLoop& mainLoop;
    };

    FocusModeController(Ports ports, const WindowEngine& engine, const AppearanceStore& appearance,
                        AXPermission& permission);
    // Takes everything down as turning off does, so no timer or observer outlives it.
    ~FocusModeController() override;
    FocusModeController(const FocusModeController&) = delete;
    FocusModeController& operator=(const FocusModeController&) = delete;

    bool isActive() const override { return active_; }
    // Without window access, turning on asks for it and stays off.
    void setActive(bool on) override;
    // Places the veil for this snapshot; the shell calls it with each new one while on.
    void apply(const WindowSnapshot& snapshot);
    // Dims at the appearance's intensity now, without a fade or a move of the hole.
    void refreshIntensity();

    // The frame the veil leaves clear, in top-left global space.
    const std::optional<RectTL>& currentHoleCG() const { return hole_; }
    // One per screen, in the screens' order, once a focused window was found.
    std::vector<const Panel*> panels() const;

    // Told each time focus mode turns on; set once by the shell.
    std::function<void()> onActivate;

private:
    struct Veil {
        std::unique_ptr<Panel> panel;
        RectBL coveredFrame;
        // Where its last fade heads; the panel's alpha once the fade ran.
        double alpha = 0;
    };

    void turnOff();
    // A task for a timer or observer: posts the step to the main loop, where it runs only
    // while this turn-on lasts.
    Task postedWhileOn(void (FocusModeController::*step)());
    void followFocusedFrame();
    void retryApply();
    void noUsableFocusedWindow();
    bool weHoldFocus(const std::vector<OwnWindow>& own) const;
    void moveHole(const RectTL& hole);
    void drawVeils(const RectBL& holeGlobal);
    void hideVeil();
    void enterDragSuspension();
    void presentVeil(const RectBL& holeGlobal);
    void fade(Veil& veil, double alpha);
    void ensurePanels();
    void rebuildPanels();
    void tearDown();
    bool leftButtonDown() const;

    Ports ports_;
    const WindowEngine& engine_;
    const AppearanceStore& appearance_;
    AXPermission& permission_;
    bool active_ = false;
    std::vector<Veil> veils_;
    Subscription screenObserver_;
    Timer followTimer_;
    Timer retry_;
    std::optional<WindowId> focusedWindowID_;
    std::optional<RectTL> hole_;
    bool lastApplyHidVeil_ = false;
    bool suspendedForDrag_ = false;
    // Alive from turning on to turning off: what timers and observers post reaches the
    // controller only through it, so a late one does nothing.
    std::optional<Lifetime> onSession_;
};

}  // namespace quillbern
