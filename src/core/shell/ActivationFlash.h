#pragma once

#include <optional>

#include "core/foundation/Clock.h"
#include "core/platform/Types.h"
#include "core/windows/WindowSnapshot.h"

namespace quillbern {

// When another application comes forward by some means other than the user's own click (a
// key that switches windows, an application that activates itself), the landing spotlight
// flashes on the window that came forward with it, so the eye finds where focus went. That
// is the window the application focused, which the window engine's snapshot may show only
// after the application's activation is told: the flash waits for the first snapshot that
// shows it, for a second at most. It stays dark right after a click anywhere, a desktop
// switch, and a raise or placement of our own; a time equal to one of these quiet periods is
// still quiet. Main thread.
class ActivationFlash {
public:
    static constexpr Duration kQuietAfterOwnRaise = 2.0;
    static constexpr Duration kQuietAfterClick = 0.5;
    static constexpr Duration kQuietAfterDesktopSwitch = 1.0;
    static constexpr Duration kFocusWait = 1.0;

    explicit ActivationFlash(const Clock& clock) : clock_(clock) {}

    void noteClick() { lastClick_ = clock_.mediaNow(); }
    void noteDesktopSwitch() { lastDesktopSwitch_ = clock_.mediaNow(); }
    void noteOwnRaise() { lastOwnRaise_ = clock_.mediaNow(); }
    // `activated` is now the active application; unless the spotlight stays dark, its
    // focused window is awaited.
    void noteActivation(Pid activated, Pid ownPid);

    struct Target {
        WindowInfo window;
        // Since the activation, which the flash's delay counts from.
        Duration waited;
    };
    // The window to flash, once per activation: the window the awaited application has
    // focused in this snapshot; none while it shows none.
    std::optional<Target> target(const WindowSnapshot& snapshot);

private:
    bool isQuiet(const std::optional<MediaTime>& since, Duration period) const;

    const Clock& clock_;
    // None: never, as at launch.
    std::optional<MediaTime> lastClick_;
    std::optional<MediaTime> lastDesktopSwitch_;
    std::optional<MediaTime> lastOwnRaise_;
    struct Awaited {
        Pid pid;
        MediaTime since;
    };
    std::optional<Awaited> awaited_;
};

}  // namespace quillbern
