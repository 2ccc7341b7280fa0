#include "core/model/AppRelauncher.h"

#include <string>

#include "core/foundation/Log.h"

namespace quillbern {

Result<void> AppRelauncher::relaunch(Processes& processes, AppProcess& process) {
    // The program itself, not a shell that would start it later: a spawn succeeds only once
    // the program runs, so a file that is gone keeps this one open.
    CommandLine command;
    command.program = process.executablePath();
    command.args = process.arguments();
    command.extraEnv = {{kRelaunchVariable, "1"}};
    auto started = processes.spawnDetached(command);
    if (!started) {
        log("relaunch failed, staying open — ", escapedForLog(started.error().message));
        return started;
    }
    process.quit();
    return started;
}

}  // namespace quillbern
