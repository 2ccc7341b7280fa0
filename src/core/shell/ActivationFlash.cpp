#include "core/shell/ActivationFlash.h"

#include <algorithm>

namespace quillbern {

bool ActivationFlash::isQuiet(const std::optional<MediaTime>& since, Duration period) const {
    return since && clock_.mediaNow() - *since <= period;
}

void ActivationFlash::noteActivation(Pid activated, Pid ownPid) {
    awaited_.reset();
    if (isQuiet(lastOwnRaise_, kQuietAfterOwnRaise) || isQuiet(lastClick_, kQuietAfterClick) ||
        isQuiet(lastDesktopSwitch_, kQuietAfterDesktopSwitch) || activated == ownPid)
        return;
    awaited_ = Awaited{activated, clock_.mediaNow()};
}

std::optional<ActivationFlash::Target> ActivationFlash::target(const WindowSnapshot& snapshot) {
    if (!awaited_) return std::nullopt;
    const Duration waited = clock_.mediaNow() - awaited_->since;
    if (waited > kFocusWait) {
        awaited_.reset();
        return std::nullopt;
    }
    const auto focused = std::ranges::find_if(
        snapshot.windows, [pid = awaited_->pid](const WindowInfo& w) { return w.pid == pid && w.isFocused; });
    if (focused == snapshot.windows.end()) return std::nullopt;
    awaited_.reset();
    return Target{*focused, waited};
}

}  // namespace quillbern
