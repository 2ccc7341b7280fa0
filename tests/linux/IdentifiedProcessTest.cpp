#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "core/foundation/ProcessId.h"
#include "linux/process/IdentifiedProcess.h"
#include "linux/process/ProcessStat.h"

extern char** environ;

using namespace quillbern;

namespace {

// A child of the test's, ended and reaped with the object.
class Child {
public:
    explicit Child(std::vector<std::string> args) {
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
    }
    ~Child() { end(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return pid_; }
    // Its id is free for another process from then on.
    void end() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

std::int64_t pidMax() {
    std::int64_t value = 0;
    std::ifstream("/proc/sys/kernel/pid_max") >> value;
    return value;
}

// The user the process runs as, from its status.
std::string userOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Uid:")) return line.substr(line.find_first_not_of(" \t", 4));
    }
    return {};
}

// A process that waits to be ended, as a child of the caller.
pid_t waitingChild() {
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (;;)
            ::pause();
    }
    return pid;
}

// Run as the first process of a PID namespace of its own, with its own /proc: identifies a
// child, ends it and has another child take its id at once, chosen through ns_last_pid, and
// tries to signal that one. "ok", or what went wrong, "skip: " first where the id could not
// be chosen.
std::string takeOverInNamespace() {
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) != 0) {
        return std::string("skip: no /proc of the namespace's own could be mounted: ") + std::strerror(errno);
    }
    const pid_t first = waitingChild();
    const auto identified = IdentifiedProcess::of(first);
    if (!identified || !identified->signal(0)) return "the first child was not identified";
    // Two processes of one id differ in start time only in different clock ticks.
    const auto started = readProcessStat(first);
    if (!started || !started->startTicks) return "the first child's start time could not be read";
    while (bootTicksNow() <= *started->startTicks)
        ::sched_yield();
    ::kill(first, SIGKILL);
    ::waitpid(first, nullptr, 0);

    const int lastPid = ::open("/proc/sys/kernel/ns_last_pid", O_WRONLY | O_CLOEXEC);
    const std::string previous = std::to_string(first - 1);
    const bool chosen = lastPid >= 0 && ::write(lastPid, previous.data(), previous.size()) == ssize_t(previous.size());
    const int error = errno;
    if (lastPid >= 0) ::close(lastPid);
    if (!chosen) return std::string("skip: ns_last_pid could not be written: ") + std::strerror(error);
    const pid_t second = waitingChild();
    std::string outcome = "ok";
    if (second != first) {
        outcome = "skip: the next process did not get the id chosen";
    } else if (identified->signal(0) || identified->signal(SIGTERM)) {
        outcome = "the process that took the id was signalled";
    } else if (const auto stat = readProcessStat(second); !stat || stat->hasEnded()) {
        outcome = "the process that took the id ended";
    }
    ::kill(second, SIGKILL);
    ::waitpid(second, nullptr, 0);
    return outcome;
}

}  // namespace

TEST(IdentifiedProcess, OnlyAnIdFromTwoBelowPidMaxNamesAProcessAndNeverOursOrOneOfOurThreads) {
    // A window's 4294967295 read signed is -1, every process; 2^32 - G is -G, the group G.
    for (const std::int64_t id : {std::int64_t(-1), std::int64_t(-getpgrp()), std::int64_t(0), std::int64_t(1),
                                  std::int64_t(4294967295), pidMax(), pidMax() + 1}) {
        EXPECT_FALSE(isProcessId(id)) << id;
        EXPECT_FALSE(processExists(id)) << id;
        EXPECT_FALSE(IdentifiedProcess::of(id)) << id;
    }
    EXPECT_TRUE(processExists(getpid()));
    EXPECT_FALSE(IdentifiedProcess::of(getpid()));

    // A thread's id opens its folder in /proc too, and a signal through it reaches its process.
    std::promise<pid_t> started;
    std::promise<void> finish;
    std::thread thread([&] {
        started.set_value(gettid());
        finish.get_future().wait();
    });
    const pid_t threadId = started.get_future().get();
    EXPECT_TRUE(processExists(threadId));
    EXPECT_FALSE(IdentifiedProcess::of(threadId));
    finish.set_value();
    thread.join();
}

TEST(IdentifiedProcess, AProcessIsSignalledOnlyWhileItRunsAsIdentified) {
    Child child({"sleep", "60"});
    const pid_t pid = child.pid();
    const auto process = IdentifiedProcess::of(pid);
    ASSERT_TRUE(process);
    EXPECT_EQ(process->pid(), pid);
    EXPECT_TRUE(process->signal(0));
    child.end();
    EXPECT_FALSE(processExists(pid));
    EXPECT_FALSE(process->signal(SIGTERM));
}

TEST(IdentifiedProcess, AnotherUsersProcessIsNotOurs) {
    // Elsewhere the kernel refuses our signals to it anyway.
    if (geteuid() != 0) GTEST_SKIP() << "only root starts a process as another user";
    Child other({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "sleep", "60"});
    ASSERT_GT(other.pid(), 0);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!userOf(other.pid()).starts_with("65534") && std::chrono::steady_clock::now() < limit)
        std::this_thread::yield();
    ASSERT_TRUE(userOf(other.pid()).starts_with("65534"));
    EXPECT_TRUE(processExists(other.pid()));
    EXPECT_FALSE(IdentifiedProcess::of(other.pid()));
}

TEST(IdentifiedProcess, AProcessThatTookTheIdOfAnIdentifiedOneIsNeverSignalled) {
    int report[2];
    ASSERT_EQ(::pipe2(report, O_CLOEXEC), 0);
    const pid_t helper = ::fork();
    ASSERT_GE(helper, 0);
    if (helper == 0) {
        // A PID namespace lets its owner choose the next id; without root, a user namespace
        // of our own owns it, with our user mapped onto itself.
        const uid_t user = ::getuid();
        const int flags = CLONE_NEWPID | CLONE_NEWNS | (::geteuid() == 0 ? 0 : CLONE_NEWUSER);
        std::string outcome;
        if (::unshare(flags) != 0) {
            outcome = std::string("skip: no PID namespace of our own: ") + std::strerror(errno);
        } else if (flags & CLONE_NEWUSER) {
            const std::string map = std::to_string(user) + " " + std::to_string(user) + " 1";
            std::ofstream("/proc/self/uid_map") << map;
        }
        if (outcome.empty()) {
            const pid_t first = ::fork();
            if (first == 0) {
                outcome = takeOverInNamespace();
                (void)!::write(report[1], outcome.data(), outcome.size());
                ::_exit(0);
            }
            ::waitpid(first, nullptr, 0);
        } else {
            (void)!::write(report[1], outcome.data(), outcome.size());
        }
        ::_exit(0);
    }
    ::close(report[1]);
    std::string outcome;
    char buffer[256];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
        outcome.append(buffer, std::size_t(n));
    ::close(report[0]);
    ::waitpid(helper, nullptr, 0);
    if (outcome.starts_with("skip: ")) GTEST_SKIP() << outcome.substr(6);
    EXPECT_EQ(outcome, "ok");
}
