#include "core/shell/ActivationFlash.h"

#include <algorithm>
#include <vector>

namespace quillbern {

bool ActivationFlash::isQuiet(const std::optional<MediaTime>& since, Duration period) const {
    return since && clock_.mediaNow() - *since <= period;
}

std::optional<WindowInfo> ActivationFlash::target(Pid activated, Pid ownPid, const WindowSnapshot& snapshot,
                                                  const std::map<Pid, AppId>& owners) const {
    if (isQuiet(lastOwnRaise_, kQuietAfterOwnRaise) || isQuiet(lastClick_, kQuietAfterClick) ||
        isQuiet(lastDesktopSwitch_, kQuietAfterDesktopSwitch))
        return std::nullopt;
    if (activated == ownPid) return std::nullopt;

    const auto ownerOf = [&owners](Pid pid) -> const AppId* {
        const auto found = owners.find(pid);
        return found == owners.end() ? nullptr : &found->second;
    };
    const AppId* owner = ownerOf(activated);
    std::vector<const WindowInfo*> candidates;
    for (const WindowInfo& window : snapshot.windows) {
        const AppId* windowOwner = ownerOf(window.pid);
        if (window.pid == activated || (owner && windowOwner && *windowOwner == *owner)) candidates.push_back(&window);
    }
    const auto shown = std::find_if(candidates.begin(), candidates.end(),
                                    [](const WindowInfo* w) { return w->isAppMain && !w->isMinimized; });
    if (shown != candidates.end()) return **shown;
    const auto open =
        std::find_if(candidates.begin(), candidates.end(), [](const WindowInfo* w) { return !w->isMinimized; });
    if (open != candidates.end()) return **open;
    return std::nullopt;
}

}  // namespace quillbern
