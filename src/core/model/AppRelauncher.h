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

    // The longest the new copy waits for this one to end, in tenths of a second; after that
    // it starts anyway, and a start that finds this one still running hands over to it.
    static constexpr int kLongestWaitTenths = 100;

    // Starts a copy of this program with the same arguments, which runs once this one has
    // ended (and speaks the language stored in Settings, as every start does), then quits.
    // When it cannot start, the program stays, and the failure is logged and returned for
    // the caller to show.
    static Result<void> relaunch(Processes& processes, AppProcess& process);
};

}  // namespace quillbern
