#include "core/model/AppRelauncher.h"

#include "core/foundation/Log.h"

namespace quillbern {

Result<void> AppRelauncher::relaunch(Processes& processes, AppProcess& process,
                                     const std::optional<std::string>& language) {
    CommandLine command;
    command.program = "/bin/sh";
    // The program and its arguments reach the shell as its own arguments, never as text
    // it interprets.
    command.args = {"-c", std::string("sleep ") + kWaitSeconds + "; exec \"$0\" \"$@\"", process.executablePath()};
    for (const std::string& argument : process.arguments())
        command.args.push_back(argument);
    // Empty means no preference, so the new copy follows the system's languages.
    command.extraEnv["LANGUAGE"] = language.value_or("");
    auto started = processes.spawnDetached(command);
    if (!started) {
        log("relaunch failed, staying open — ", escapedForLog(started.error().message));
        return started;
    }
    process.quit();
    return started;
}

}  // namespace quillbern
