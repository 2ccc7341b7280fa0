#pragma once

#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "core/model/PinnedStore.h"
#include "core/windows/WindowInfo.h"

namespace quillbern {

// A running application that a dock shows after its pinned tiles.
struct TransientDockApp {
    // Which application it is (applicationKey); one entry per key.
    std::string key;
    // Its process whose window comes first.
    Pid pid = 0;
    // The application that owns the process, else its own identity.
    std::optional<AppId> bundleID;
    // The application name of its first window.
    std::string name;
    RunningApp app;
    bool operator==(const TransientDockApp&) const = default;
};

// One entry per application of the windows' processes, in the order of each application's
// first window: the processes of one application are one entry. Processes that run no
// application, and applications in `excludedOwners`, are left out.
std::vector<TransientDockApp> transientDockApps(std::span<const WindowInfo> windows, const PinnedStore& store,
                                                const std::set<AppId>& excludedOwners);

// The processes of the windows that count for the application `key`.
std::set<Pid> applicationProcesses(std::span<const WindowInfo> windows, const PinnedStore& store,
                                   const std::string& key);

}  // namespace quillbern
