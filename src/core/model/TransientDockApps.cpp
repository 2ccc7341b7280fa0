#include "core/model/TransientDockApps.h"

#include <algorithm>

#include "core/model/ApplicationKey.h"

namespace quillbern {

namespace {

// Calls `found` once for each process of the windows that runs an application, in the
// order of its first window, with its application's key.
template <class Found>
void forEachProcess(std::span<const WindowInfo> windows, const PinnedStore& store, Found found) {
    std::set<Pid> seen;
    for (const WindowInfo& window : windows) {
        if (!seen.insert(window.pid).second) continue;
        auto app = store.runningApp(window.pid);
        if (!app) continue;
        std::string key = applicationKey(*app, store);
        found(window, std::move(key), std::move(*app));
    }
}

}  // namespace

std::vector<TransientDockApp> transientDockApps(std::span<const WindowInfo> windows, const PinnedStore& store,
                                                const std::set<AppId>& excludedOwners) {
    std::vector<TransientDockApp> entries;
    forEachProcess(windows, store, [&](const WindowInfo& window, std::string key, RunningApp app) {
        if (std::ranges::find(entries, key, &TransientDockApp::key) != entries.end()) return;
        const auto owner = store.ownerBundleIDByPID().find(window.pid);
        std::optional<AppId> bundleID = owner != store.ownerBundleIDByPID().end() ? owner->second : app.appId;
        if (bundleID && excludedOwners.contains(*bundleID)) return;
        entries.push_back({std::move(key), window.pid, std::move(bundleID), window.appName, std::move(app)});
    });
    return entries;
}

std::set<Pid> applicationProcesses(std::span<const WindowInfo> windows, const PinnedStore& store,
                                   const std::string& key) {
    std::set<Pid> pids;
    forEachProcess(windows, store, [&](const WindowInfo& window, const std::string& its, const RunningApp&) {
        if (its == key) pids.insert(window.pid);
    });
    return pids;
}

}  // namespace quillbern
