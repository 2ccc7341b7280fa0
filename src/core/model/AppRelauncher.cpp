#include "core/model/AppRelauncher.h"

#include <string>

#include "core/foundation/Log.h"

namespace quillbern {

Result<void> AppRelauncher::relaunch(Processes& processes, AppProcess& process) {
    CommandLine command;
    command.program = "/bin/sh";
    // The program and its arguments reach the shell as its own arguments, never as text
    // it interprets. The copy waits until this process is gone: one that started while this
    // one was still quitting would hand itself over to it, as a second start does, and end.
    command.args = {"-c",
                    "pid=$1; shift; n=0; while kill -0 \"$pid\" 2>/dev/null && [ \"$n\" -lt " +
                        std::to_string(kLongestWaitTenths) + " ]; do sleep 0.1; n=$((n + 1)); done; exec \"$0\" \"$@\"",
                    process.executablePath(), std::to_string(process.pid())};
    for (const std::string& argument : process.arguments())
        command.args.push_back(argument);
    auto started = processes.spawnDetached(command);
    if (!started) {
        log("relaunch failed, staying open — ", escapedForLog(started.error().message));
        return started;
    }
    process.quit();
    return started;
}

}  // namespace quillbern
