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
    // The main window wins, then the first one shown; minimised ones never.
    const auto best = [](const std::vector<const WindowInfo*>& windows) -> std::optional<WindowInfo> {
        const auto shown = std::find_if(windows.begin(), windows.end(),
                                        [](const WindowInfo* w) { return w->isAppMain && !w->isMinimized; });
        if (shown != windows.end()) return **shown;
        const auto open =
            std::find_if(windows.begin(), windows.end(), [](const WindowInfo* w) { return !w->isMinimized; });
        if (open != windows.end()) return **open;
        return std::nullopt;
    };
    // The process that came forward first: one application may run in several processes
    // (a terminal in each), and only that one's windows just came forward.
    const AppId* owner = ownerOf(activated);
    std::vector<const WindowInfo*> own;
    std::vector<const WindowInfo*> sameOwner;
    for (const WindowInfo& window : snapshot.windows) {
        const AppId* windowOwner = ownerOf(window.pid);
        if (window.pid == activated) {
            own.push_back(&window);
        } else if (owner && windowOwner && *windowOwner == *owner) {
            sameOwner.push_back(&window);
        }
    }
    if (const std::optional<WindowInfo> target = best(own)) return target;
    return best(sameOwner);
}

}  // namespace quillbern
