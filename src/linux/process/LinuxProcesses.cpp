#include "linux/process/LinuxProcesses.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>

#include "core/foundation/Log.h"
#include "linux/i18n/InterfaceLanguage.h"
#include "linux/process/IdentifiedProcess.h"

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

// Ours, with the desktop's languages rather than those chosen for Quillbern, and the
// command's variables replacing same-named ones.
std::vector<std::string> environmentFor(const CommandLine& command) {
    std::map<std::string, std::string> variables = command.extraEnv;
    if (const std::optional<std::string> languages = desktopLanguageList()) variables.emplace("LANGUAGE", *languages);
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        const std::string name(text.substr(0, text.find('=')));
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

// True when the child has ended by `deadline`: its pidfd is readable then.
bool endsBy(int pidfd, Deadline deadline) {
    pollfd watched{pidfd, POLLIN, 0};
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int ready = poll(&watched, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready >= 0) return ready > 0;
        if (errno != EINTR) return false;
    }
}

std::optional<int> reap(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return std::nullopt;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return std::nullopt;
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
    const pid_t pid = started.value();
    const std::optional<IdentifiedProcess> child = IdentifiedProcess::of(pid);
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0 && endsBy(pidfd, limit)) {
        close(pidfd);
        result.exitStatus = reap(pid);
        return result;
    }
    result.timedOut = true;
    log("child ", escapedForLog(command.program), " still running at its limit of ", timeLimit, " s; ended");
    // Asked first, then forced; reaped aside, never waited for, since a child stuck in the
    // kernel does not end even when killed.
    if (child) {
        child->signal(SIGTERM);
        if (pidfd < 0 || !endsBy(pidfd, later(limit, kEndingTime))) child->signal(SIGKILL);
    }
    if (pidfd >= 0) close(pidfd);
    std::thread([pid] { reap(pid); }).detach();
    return result;
}

Result<void> LinuxProcesses::spawnDetached(const CommandLine& command) {
    auto started = spawn(command, true);
    if (!started) return started.error();
    std::thread([pid = started.value()] { reap(pid); }).detach();
    return {};
}

}  // namespace quillbern
