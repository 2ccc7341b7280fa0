#include "linux/process/LinuxProcesses.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>

#include <chrono>
#include <cstring>
#include <map>
#include <optional>

#include "core/foundation/Log.h"
#include "linux/dbus/SessionBusAutolaunch.h"
#include "linux/i18n/InterfaceLanguage.h"
#include "linux/process/ChildProcess.h"

extern char** environ;

namespace quillbern {

namespace {

using Deadline = std::chrono::steady_clock::time_point;

// After the limit, how long a child has to end once asked, before it is killed.
constexpr Duration kEndingTime = 0.2;

Deadline later(Deadline from, Duration seconds) {
    return from + std::chrono::duration_cast<Deadline::duration>(std::chrono::duration<double>(seconds));
}

Error posixError(int code, const std::string& program) {
    return Error{program + ": " + std::strerror(code), "posix", code};
}

// Ours, with the desktop's languages rather than those chosen for Quillbern, without the
// session bus address set only for Quillbern, and the command's variables replacing
// same-named ones.
std::vector<std::string> environmentFor(const CommandLine& command) {
    std::map<std::string, std::string> variables = command.extraEnv;
    if (const std::optional<std::string> languages = desktopLanguageList()) variables.emplace("LANGUAGE", *languages);
    const bool busIsOurs = sessionBusAddressIsOurs();
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        const std::string name(text.substr(0, text.find('=')));
        if (busIsOurs && name == "DBUS_SESSION_BUS_ADDRESS") continue;
        if (!variables.contains(name) && name != "LANGUAGE") entries.emplace_back(text);
    }
    for (const auto& [name, value] : variables)
        entries.push_back(name + "=" + value);
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// How a child starts beside the command: in a session of its own, or handed a descriptor.
struct Start {
    bool newSession = false;
    // Becomes the child's descriptor 3, its input and output /dev/null, its signals at their
    // defaults and none blocked (a worker's thread may block some).
    std::optional<int> handed;
    // What its process list shows as its name, where that is not the program's path.
    std::string shownAs;
};

Result<pid_t> spawn(const CommandLine& command, const Start& start) {
    std::vector<std::string> argv{start.shownAs.empty() ? command.program : start.shownAs};
    argv.insert(argv.end(), command.args.begin(), command.args.end());
    std::vector<std::string> env = environmentFor(command);
    auto argvPointers = pointersTo(argv);
    auto envPointers = pointersTo(env);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    short flags = start.newSession ? POSIX_SPAWN_SETSID : 0;
    if (start.handed) {
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &all);
        flags |= POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        posix_spawn_file_actions_adddup2(&actions, *start.handed, 3);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    posix_spawnattr_setflags(&attributes, flags);
    pid_t pid = 0;
    // glibc reports a program that cannot be executed here, not as a child that exits.
    const int failure =
        posix_spawnp(&pid, command.program.c_str(), &actions, &attributes, argvPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failure != 0) return posixError(failure, command.program);
    return pid;
}

}  // namespace

ProcessResult LinuxProcesses::run(const CommandLine& command, Duration timeLimit) {
    ProcessResult result;
    const Deadline limit = later(std::chrono::steady_clock::now(), timeLimit);
    auto started = spawn(command, {.newSession = false, .handed = std::nullopt, .shownAs = {}});
    if (!started) {
        result.error = started.error();
        return result;
    }
    result.launched = true;
    const std::unique_ptr<ChildProcess> child = ChildProcess::hold(started.value(), ChildProcess::StartedHere{});
    if (child && child->endsBy(limit)) {
        result.exitStatus = child->waitForExit();
        return result;
    }
    result.timedOut = true;
    log("child ", escapedForLog(command.program), " still running at its limit of ", timeLimit, " s; ended");
    // Asked first, then forced; reaped aside, never waited for, since a child stuck in the
    // kernel does not end even when killed.
    if (child) {
        child->signal(SIGTERM);
        if (!child->endsBy(later(limit, kEndingTime))) child->signal(SIGKILL);
    }
    return result;
}

Result<void> LinuxProcesses::spawnDetached(const CommandLine& command) {
    auto started = spawn(command, {.newSession = true, .handed = std::nullopt, .shownAs = {}});
    if (!started) return started.error();
    // Reaped aside whenever it ends.
    ChildProcess::hold(started.value(), ChildProcess::StartedHere{});
    return {};
}

Result<std::unique_ptr<ChildProcess>> LinuxProcesses::startHanding(const CommandLine& command, int handed,
                                                                   std::string shownAs) {
    auto started = spawn(command, {.newSession = false, .handed = handed, .shownAs = std::move(shownAs)});
    if (!started) return started.error();
    std::unique_ptr<ChildProcess> child = ChildProcess::hold(started.value(), ChildProcess::StartedHere{});
    if (!child) return Error{command.program + ": it could not be held", "posix", 0};
    return child;
}

}  // namespace quillbern
