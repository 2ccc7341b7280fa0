#pragma once

#include <string>

#include "core/foundation/Result.h"
#include "core/platform/AppProcess.h"
#include "core/platform/Processes.h"

namespace quillbern {

// Restarts the program so that a new interface language takes effect.
class AppRelauncher {
public:
    AppRelauncher() = delete;

    // Set for the copy a relaunch starts: that start waits for this one to end, rather than
    // handing itself over to it as a second start does.
    static constexpr const char* kRelaunchVariable = "QUILLBERN_RELAUNCH";

    // Starts a copy of this program with the same arguments (which speaks the language
    // stored in Settings, as every start does), then quits, once the copy runs. When it
    // cannot start (its file gone, say), the program stays, and the failure is logged and
    // returned for the caller to show.
    static Result<void> relaunch(Processes& processes, AppProcess& process);
};

}  // namespace quillbern
