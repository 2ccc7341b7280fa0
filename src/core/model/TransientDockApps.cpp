#include "core/model/TransientDockApps.h"

namespace quillbern {

std::vector<TransientDockApp> transientDockApps(std::span<const WindowInfo> windows, const PinnedStore& store,
                                                const std::set<AppId>& excludedOwners) {
    std::vector<TransientDockApp> entries;
    std::set<Pid> seen;
    for (const WindowInfo& window : windows) {
        if (!seen.insert(window.pid).second) continue;
        auto app = store.runningApp(window.pid);
        if (!app) continue;
        const auto owner = store.ownerBundleIDByPID().find(window.pid);
        std::optional<AppId> bundleID = owner != store.ownerBundleIDByPID().end() ? owner->second : app->appId;
        if (bundleID && excludedOwners.contains(*bundleID)) continue;
        entries.push_back({window.pid, std::move(bundleID), window.appName, std::move(*app)});
    }
    return entries;
}

}  // namespace quillbern
