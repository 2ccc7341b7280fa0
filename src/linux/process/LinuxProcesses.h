#pragma once

#include <memory>
#include <string>

#include "core/platform/Processes.h"

namespace quillbern {

class ChildProcess;

// Child processes through posix_spawn: the program and each argument are passed as they
// stand, and the environment is ours with the command's additions.
class LinuxProcesses final : public Processes {
public:
    // The child has the whole limit; then it is asked to end (SIGTERM) and, 0.2 s later,
    // killed, and the call returns without waiting for it to be gone.
    ProcessResult run(const CommandLine& command, Duration timeLimit) override;
    // In a session of its own; reaped aside whenever it ends, so it never lingers.
    Result<void> spawnDetached(const CommandLine& command) override;

    // Starts a helper of the program's own with `handed` as its descriptor 3 (its input and
    // output /dev/null, its signals at their defaults), shown in process lists as `shownAs`,
    // held from the start: its owner alone ends it.
    static Result<std::unique_ptr<ChildProcess>> startHanding(const CommandLine& command, int handed,
                                                              std::string shownAs);
};

}  // namespace quillbern
