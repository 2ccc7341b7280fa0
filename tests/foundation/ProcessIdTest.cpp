#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

#include "core/foundation/ProcessId.h"

using namespace quillbern;

TEST(ProcessId, OnlyAnIdFromTwoBelowPidMaxNamesAProcessAndOneRunsWhileItExists) {
    std::int64_t pidMax = 0;
    std::ifstream("/proc/sys/kernel/pid_max") >> pidMax;
    // A window's 4294967295 read signed is -1, every process; 2^32 - G is -G, the group G.
    for (const std::int64_t id : {std::int64_t(-1), std::int64_t(-getpgrp()), std::int64_t(0), std::int64_t(1),
                                  std::int64_t(4294967295), pidMax, pidMax + 1}) {
        EXPECT_FALSE(isProcessId(id)) << id;
        EXPECT_FALSE(processExists(id)) << id;
    }
    EXPECT_TRUE(processExists(getpid()));

    std::promise<pid_t> started;
    std::promise<void> finish;
    std::thread thread([&] {
        started.set_value(gettid());
        finish.get_future().wait();
    });
    EXPECT_TRUE(processExists(started.get_future().get())) << "a thread of a process";
    finish.set_value();
    thread.join();

    const pid_t child = fork();
    if (child == 0) _exit(0);
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, id_t(child), &info, WEXITED | WNOWAIT), 0);
    EXPECT_TRUE(processExists(child)) << "a zombie until it is reaped";
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(processExists(child));
}
