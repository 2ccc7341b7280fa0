#include "linux/process/LinuxProcesses.h"

#include <signal.h>
#include <spawn.h>

#include <chrono>
#include <cstring>
#include <map>

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

Result<pid_t> spawn(const CommandLine& command, bool newSession) {
    std::vector<std::string> argv{command.program};
    argv.insert(argv.end(), command.args.begin(), command.args.end());
    std::vector<std::string> env = environmentFor(command);
    auto argvPointers = pointersTo(argv);
    auto envPointers = pointersTo(env);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (newSession) posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    // glibc reports a program that cannot be executed here, not as a child that exits.
    const int failure =
        posix_spawnp(&pid, command.program.c_str(), nullptr, &attributes, argvPointers.data(), envPointers.data());
    posix_spawnattr_destroy(&attributes);
    if (failure != 0) return posixError(failure, command.program);
    return pid;
}

}  // namespace

ProcessResult LinuxProcesses::run(const CommandLine& command, Duration timeLimit) {
    ProcessResult result;
    const Deadline limit = later(std::chrono::steady_clock::now(), timeLimit);
    auto started = spawn(command, false);
    if (!started) {
        result.error = started.error();
        return result;
    }
    result.launched = true;
    const std::unique_ptr<ChildProcess> child = ChildProcess::hold(started.value());
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
    auto started = spawn(command, true);
    if (!started) return started.error();
    // Reaped aside whenever it ends.
    ChildProcess::hold(started.value());
    return {};
}

}  // namespace quillbern
