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
    Pid pid = 0;
    // The application that owns the process, else its own identity.
    std::optional<AppId> bundleID;
    // The application name of the process's first window.
    std::string name;
    RunningApp app;
    bool operator==(const TransientDockApp&) const = default;
};

// One entry per process of the windows, in the order of each process's first window;
// processes that run no application, and applications in `excludedOwners`, are left out.
std::vector<TransientDockApp> transientDockApps(std::span<const WindowInfo> windows, const PinnedStore& store,
                                                const std::set<AppId>& excludedOwners);

}  // namespace quillbern
