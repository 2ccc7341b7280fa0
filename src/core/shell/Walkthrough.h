#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Signal.h"
#include "core/windows/AXPermission.h"
#include "core/windows/DockSuppressor.h"
#include "core/windows/LoginItem.h"
#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// The first-launch walkthrough as data: a welcome, window access, hover previews and the
// comforts, in that order, with the navigation row under them. It stores nothing of its own:
// every switch acts at once on the service that owns the setting, and shows what that
// service then reports. Finishing, by the last step's button or by Escape on any step, only
// asks the host to close; closing records that the walkthrough was seen. Main thread.
class Walkthrough {
public:
    enum class Step { welcome, windowAccess, previews, comfort };
    static constexpr int kStepCount = 4;

    // What the forward button of the navigation row says and does.
    enum class Forward { continueOn, later, finish };

    struct Services {
        [[no_unique_address]] FilledByName<Services> byName{};
        WindowEngine& engine;
        PreviewStore& previews;
        DockSuppressor& suppressor;
        LoginItem& loginItem;
        AXPermission& windowAccess;
    };

    Walkthrough(Services services, std::function<void()> onFinished);
    Walkthrough(const Walkthrough&) = delete;
    Walkthrough& operator=(const Walkthrough&) = delete;

    // The step moved, or something a step shows changed at its service.
    Signal<> changed;

    Step step() const { return step_; }
    // The symbol at the top that names the step.
    std::string_view stepSymbol() const;

    // Navigation.
    bool showsPrevious() const { return step_ != Step::welcome; }
    Forward forward() const;
    // Whether Return presses the forward button: not while the window-access step offers
    // its own button, which Return presses instead.
    bool forwardTakesReturn() const { return forward() != Forward::later; }
    std::string forwardTitle() const;
    void previous();
    void pressForward();
    // Return, wherever the focus is: the forward button, or the window-access step's own.
    void pressReturn();
    // Escape, on any step, finishes as the last step's button does.
    void exit();

    // The window-access step.
    bool hasWindowAccess() const { return services_.engine.isTrusted(); }
    void allowWindowAccess();

    // The hover-previews step.
    bool previewsEnabled() const { return services_.previews.isEnabled(); }
    void setPreviewsEnabled(bool enabled);
    // Previews are on but the screen may not be captured yet: the step says where to allow it.
    bool showsCaptureHelp() const;
    void allowScreenCapture();

    // The comfort step.
    bool opensAtLogin() const;
    bool loginNeedsApproval() const;
    const std::optional<std::string>& loginError() const { return services_.loginItem.lastError(); }
    void setOpensAtLogin(bool on);
    bool hidesDesktopDock() const { return services_.suppressor.isEnabled(); }
    // Why hiding the desktop's dock failed, so a switch that falls back to off says why.
    const std::optional<std::string>& hideError() const { return services_.suppressor.lastError(); }
    void setHidesDesktopDock(bool on);

private:
    void moveTo(Step step);

    Services services_;
    std::function<void()> onFinished_;
    Step step_ = Step::welcome;
    std::vector<Subscription> observers_;
};

}  // namespace quillbern
