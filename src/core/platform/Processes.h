#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Result.h"
#include "core/foundation/Time.h"

namespace quillbern {

// A program and its arguments, each passed as it stands: never spliced into command text.
struct CommandLine {
    std::string program;
    std::vector<std::string> args;
    std::map<std::string, std::string> extraEnv;
    bool operator==(const CommandLine&) const = default;
};

struct ProcessResult {
    bool launched = false;
    std::optional<int> exitStatus;
    // Still running at the time limit, and terminated.
    bool timedOut = false;
    // Why it could not be launched.
    std::optional<Error> error;
};

// Child processes.
class Processes {
public:
    virtual ~Processes() = default;

    // Blocks until the child ends, at most timeLimit; then it is terminated.
    virtual ProcessResult run(const CommandLine& command, Duration timeLimit) = 0;
    // Starts a child in a session of its own that outlives us; ok once it runs.
    virtual Result<void> spawnDetached(const CommandLine& command) = 0;
};

}  // namespace quillbern
