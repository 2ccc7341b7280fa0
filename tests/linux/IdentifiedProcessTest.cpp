#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "core/foundation/ProcessId.h"
#include "linux/process/IdentifiedProcess.h"

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
