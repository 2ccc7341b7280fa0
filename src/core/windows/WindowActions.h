#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "core/foundation/Clock.h"
#include "core/foundation/Geometry.h"
#include "core/foundation/RunLoop.h"
#include "core/platform/InputState.h"
#include "core/platform/WindowAccess.h"
#include "core/windows/WindowAction.h"

namespace quillbern {

// Carries out window actions on elements the worker has already revalidated. State
// changes are given time to settle before the next step, and placements are checked and
// corrected; a newer placement of a window supersedes the checks of older ones. Worker
// thread only; keeps no state between steps beyond its pending timers and the latest
// placement of each window being placed.
class WindowActions {
public:
    // How far a placed frame may be off, on each of x, y, width and height.
    static constexpr double kTolerance = 4.0;
    static constexpr Duration kSettlePoll = 0.06;
    static constexpr Duration kUnhideWait = 0.25;
    static constexpr Duration kVerifyDelay = 0.25;
    static constexpr Duration kHeldButtonWait = 0.3;
    static constexpr int kPlacementRetries = 2;
    static constexpr int kHeldButtonDefers = 5;

    struct Hooks {
        // Runs the step later on the worker, unless the worker has stopped by then.
        std::function<void(Duration, Task)> after;
        // The debounced reconciliation, so the snapshot catches up.
        Task scheduleReconcile;
        // Brings the application forward by other means when it refuses to come forward.
        std::function<void(Pid)> activateApp;
    };

    WindowActions(WindowAccess& access, const Clock& clock, const InputState& input, Hooks hooks);

    void perform(const WindowAction& action, ElementRef window, Pid pid);

private:
    struct Verification {
        RectTL target;
        std::optional<RectTL> before;
        ElementRef window;
        Pid pid = 0;
        // Which placement of the window this is: a newer one makes this one moot.
        std::uint64_t placement = 0;
        int retriesLeft = 0;
        int defersLeft = 0;
        bool focusIntended = false;
    };

    void raise(ElementRef window, Pid pid);
    void setMinimized(ElementRef window, Pid pid, bool minimized);
    void place(ElementRef window, Pid pid, RectTL frame, bool focusNow);
    void close(ElementRef window);

    // Waits at least `floor`, then until the attribute reads false or the cap has passed.
    void settle(ElementRef element, Attribute attribute, Duration floor, MediaTime cap, Task continuation);
    void settleTick(ElementRef element, Attribute attribute, MediaTime cap, Task continuation);
    void focus(ElementRef window, Pid pid, bool retryAfterUnhide);
    void focusAndReconcile(ElementRef window, Pid pid);
    // Writes the frame and checks it a moment later; `v` carries what the check needs.
    void applyPlacement(Verification v, bool focusNow);
    void writeFrame(ElementRef window, RectTL frame);
    void verifyPlacement(Verification v);
    // True when it checks again later.
    bool checkPlacement(Verification v);
    void centreOn(const Verification& v, const RectTL& now);
    bool isLatest(const Verification& v) const;

    WindowAccess& access_;
    const Clock& clock_;
    const InputState& input_;
    Hooks hooks_;
    std::uint64_t lastPlacement_ = 0;
    // The latest placement of each window whose placement is still being carried out.
    std::map<std::uint64_t, std::uint64_t> latestPlacement_;
};

}  // namespace quillbern
