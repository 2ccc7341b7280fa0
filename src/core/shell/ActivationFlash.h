#pragma once

#include <map>
#include <optional>

#include "core/foundation/Clock.h"
#include "core/platform/Types.h"
#include "core/windows/WindowSnapshot.h"

namespace quillbern {

// When another application comes forward by some means other than the user's own click (a
// key that switches applications, an application that activates itself), the landing
// spotlight flashes on its best window so the eye finds where focus went. It stays dark
// right after a click anywhere, a desktop switch, and a raise or placement of our own; a
// time equal to one of these quiet periods is still quiet. Main thread.
class ActivationFlash {
public:
    static constexpr Duration kQuietAfterOwnRaise = 2.0;
    static constexpr Duration kQuietAfterClick = 0.5;
    static constexpr Duration kQuietAfterDesktopSwitch = 1.0;

    explicit ActivationFlash(const Clock& clock) : clock_(clock) {}

    void noteClick() { lastClick_ = clock_.mediaNow(); }
    void noteDesktopSwitch() { lastDesktopSwitch_ = clock_.mediaNow(); }
    void noteOwnRaise() { lastOwnRaise_ = clock_.mediaNow(); }

    // The window to flash now that `activated` is the active application; none when the
    // spotlight stays dark. Windows of other processes count as the application's own when
    // `owners` gives them the same owning application, after those of the activated process.
    std::optional<WindowInfo> target(Pid activated, Pid ownPid, const WindowSnapshot& snapshot,
                                     const std::map<Pid, AppId>& owners) const;

private:
    bool isQuiet(const std::optional<MediaTime>& since, Duration period) const;

    const Clock& clock_;
    // None: never, as at launch.
    std::optional<MediaTime> lastClick_;
    std::optional<MediaTime> lastDesktopSwitch_;
    std::optional<MediaTime> lastOwnRaise_;
};

}  // namespace quillbern
