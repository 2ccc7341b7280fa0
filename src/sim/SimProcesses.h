#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/platform/Processes.h"

namespace quillbern {

// Child processes with scripted outcomes per program; nothing runs and nothing blocks.
class SimProcesses final : public Processes {
public:
    struct Outcome {
        // Set: the program cannot be launched.
        std::optional<Error> launchError{};
        int exitStatus = 0;
        // How long the child would run; past the time limit it is terminated.
        Duration runsFor = 0;
    };
    struct Run {
        CommandLine command;
        Duration timeLimit;
    };

    ProcessResult run(const CommandLine& command, Duration timeLimit) override;
    // Fails with the program's scripted launch error.
    Result<void> spawnDetached(const CommandLine& command) override;

    // What running a child with that outcome answers.
    static ProcessResult resultOf(const Outcome& outcome, Duration timeLimit);

    void script(const std::string& program, Outcome outcome) { outcomes_[program] = std::move(outcome); }
    const std::vector<Run>& runs() const { return runs_; }
    const std::vector<CommandLine>& spawned() const { return spawned_; }

private:
    std::map<std::string, Outcome> outcomes_;
    std::vector<Run> runs_;
    std::vector<CommandLine> spawned_;
};

}  // namespace quillbern
