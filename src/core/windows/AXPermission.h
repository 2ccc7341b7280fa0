#pragma once

#include "core/platform/Launcher.h"
#include "core/platform/Permissions.h"
#include "core/platform/Processes.h"

namespace quillbern {

// Asks for window access and, where the system keeps a stale grant that would swallow the
// prompt, resets that grant first. The engine's trust poll notices a grant afterwards.
// Main thread.
class AXPermission {
public:
    // The longest the main thread waits for the reset.
    static constexpr Duration kResetTimeLimit = 2.0;

    AXPermission(Permissions& permissions, Processes& processes, Launcher& launcher);

    // Answers whether the program is trusted after prompting; callers may ignore it.
    bool promptRepairingStaleEntry();

private:
    void resetStaleEntry(const CommandLine& command);

    Permissions& permissions_;
    Processes& processes_;
    Launcher& launcher_;
};

}  // namespace quillbern
