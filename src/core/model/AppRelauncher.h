#pragma once

#include <optional>
#include <string>

#include "core/foundation/Result.h"
#include "core/platform/AppProcess.h"
#include "core/platform/Processes.h"

namespace quillbern {

// Restarts the program so that a new interface language takes effect.
class AppRelauncher {
public:
    AppRelauncher() = delete;

    // How long the new copy waits, by which time this one has quit.
    static constexpr const char* kWaitSeconds = "0.4";

    // Starts a copy of this program with the same arguments and `language` (none: the
    // system's), then quits once it runs. When it cannot start, the program stays, and
    // the failure is logged and returned for the caller to show.
    static Result<void> relaunch(Processes& processes, AppProcess& process, const std::optional<std::string>& language);
};

}  // namespace quillbern
