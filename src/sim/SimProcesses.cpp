#include "sim/SimProcesses.h"

namespace quillbern {

ProcessResult SimProcesses::run(const CommandLine& command, Duration timeLimit) {
    runs_.push_back({command, timeLimit});
    const auto found = outcomes_.find(command.program);
    return resultOf(found == outcomes_.end() ? Outcome{} : found->second, timeLimit);
}

ProcessResult SimProcesses::resultOf(const Outcome& outcome, Duration timeLimit) {
    ProcessResult result;
    if (outcome.launchError) {
        result.error = outcome.launchError;
        return result;
    }
    result.launched = true;
    if (outcome.runsFor > timeLimit) {
        result.timedOut = true;
    } else {
        result.exitStatus = outcome.exitStatus;
    }
    return result;
}

Result<void> SimProcesses::spawnDetached(const CommandLine& command) {
    spawned_.push_back(command);
    const auto found = outcomes_.find(command.program);
    if (found != outcomes_.end() && found->second.launchError) return *found->second.launchError;
    return {};
}

}  // namespace quillbern
