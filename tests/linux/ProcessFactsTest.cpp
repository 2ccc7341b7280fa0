#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "linux/process/ProcessFacts.h"
#include "linux/process/ProcessStat.h"

using namespace quillbern;
namespace fs = std::filesystem;

namespace {

std::string environment(std::initializer_list<std::string> entries) {
    std::string block;
    for (const std::string& entry : entries)
        block += entry + '\0';
    return block;
}

// A /proc of its own, with processes as the kernel shows them.
class FakeProc : public ::testing::Test {
protected:
    FakeProc() : root_(fs::temp_directory_path() / ("quillbern-proc-" + std::to_string(::getpid()))) {
        fs::remove_all(root_);
    }
    ~FakeProc() override { fs::remove_all(root_); }

    fs::path process(Pid pid, const std::string& stat, const std::string& environ) {
        const fs::path dir = root_ / std::to_string(pid);
        fs::create_directories(dir / "root");
        std::ofstream(dir / "stat") << stat;
        std::ofstream(dir / "environ", std::ios::binary) << environ;
        return dir;
    }
    const fs::path& root() const { return root_; }

private:
    fs::path root_;
};

}  // namespace

TEST(ProcessOrigin, TheEnvironmentTellsTheLaunchTheSandboxAndTheSnap) {
    const ProcessOrigin launched =
        processOrigin(environment({"HOME=/home/ann", "GIO_LAUNCHED_DESKTOP_FILE=/usr/share/applications/a.desktop",
                                   "GIO_LAUNCHED_DESKTOP_FILE_PID=4711", "LANG=C"}));
    EXPECT_EQ(launched.launchedDesktopFile, "/usr/share/applications/a.desktop");
    EXPECT_EQ(launched.launchedPid, 4711);
    EXPECT_EQ(launched.flatpakId, std::nullopt);

    const ProcessOrigin snap = processOrigin(environment({"SNAP_NAME=firefox", "SNAP_REVISION=4173"}));
    EXPECT_EQ(snap.snapName, "firefox");

    // The sandbox's own file names the application even where the environment does not.
    const ProcessOrigin sandboxed =
        processOrigin(environment({"FLATPAK_ID=org.example.Old"}),
                      "[Application]\nname=com.example.Paint\nruntime=runtime/org.gnome.Platform/x86_64/45\n\n"
                      "[Instance]\nname=other\n");
    EXPECT_EQ(sandboxed.flatpakId, "com.example.Paint");
    EXPECT_EQ(processOrigin(environment({"FLATPAK_ID=org.example.Old"})).flatpakId, "org.example.Old");
}

TEST(ProcessOrigin, MalformedEntriesAreLeftOut) {
    const ProcessOrigin origin = processOrigin(
        environment({"GIO_LAUNCHED_DESKTOP_FILE_PID=12ab", "GIO_LAUNCHED_DESKTOP_FILE=", "NOEQUALS", "SNAP_NAME"}));
    EXPECT_EQ(origin, ProcessOrigin{});
    EXPECT_EQ(processOrigin(environment({"GIO_LAUNCHED_DESKTOP_FILE_PID=-3"})).launchedPid, std::nullopt);
    EXPECT_EQ(processOrigin({}, "[Instance]\nname=com.example.Paint\n").flatpakId, std::nullopt)
        << "only the application's group names it";
    // An environment block need not end with its separator.
    EXPECT_EQ(processOrigin("SNAP_NAME=vlc").snapName, "vlc");
}

TEST_F(FakeProc, AProcessIsReadWithItsParentProgramAndOrigin) {
    // A name with spaces and parentheses, as a process may choose.
    const fs::path dir =
        process(321, "321 (my (odd) app) S 77 321 321 0 -1 4194304 120 0 0 0",
                environment({"GIO_LAUNCHED_DESKTOP_FILE=/x/b.desktop", "GIO_LAUNCHED_DESKTOP_FILE_PID=321"}));
    fs::create_symlink("/usr/bin/b-app", dir / "exe");
    std::ofstream(dir / "root" / ".flatpak-info") << "[Application]\nname=org.example.B\n";

    const std::optional<ProcessFacts> facts = readProcessFacts(321, root());
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->pid, 321);
    EXPECT_EQ(facts->parent, 77);
    EXPECT_EQ(facts->executable, "/usr/bin/b-app");
    EXPECT_EQ(facts->origin.launchedDesktopFile, "/x/b.desktop");
    EXPECT_EQ(facts->origin.launchedPid, 321);
    EXPECT_EQ(facts->origin.flatpakId, "org.example.B");

    EXPECT_EQ(readProcessFacts(999, root()), std::nullopt) << "a process that is gone";
}

TEST_F(FakeProc, ARootFolderTheProcessControlsHoldsUpNothingAndFillsNoMemory) {
    // Any user may run a process in a root folder of its own, within a user namespace.
    const fs::path dir = process(42, "42 (boxed) S 1 42 42 0 -1", environment({"FLATPAK_ID=org.example.Env"}));
    const fs::path info = dir / "root" / ".flatpak-info";
    const auto readQuickly = [&] {
        auto read = std::async(std::launch::async, [&] { return readProcessFacts(42, root()); });
        if (read.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
            // A reader held in open() by a FIFO is let go, so the test ends.
            if (const int writer = ::open(info.c_str(), O_WRONLY | O_NONBLOCK); writer >= 0) ::close(writer);
            ADD_FAILURE() << "the read was held up";
        }
        return read.get();
    };
    ASSERT_EQ(::mkfifo(info.c_str(), 0600), 0);
    auto facts = readQuickly();
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->origin.flatpakId, "org.example.Env") << "a FIFO is no sandbox's description";
    fs::remove(info);
    fs::create_symlink("/dev/zero", info);
    EXPECT_EQ(readQuickly()->origin.flatpakId, "org.example.Env") << "nor is a device";
    fs::remove(info);
    // 20 GB that take no room on the disk.
    std::ofstream(info) << "[Application]\nname=org.example.Huge\n";
    fs::resize_file(info, std::uintmax_t(20) << 30);
    EXPECT_EQ(readQuickly()->origin.flatpakId, "org.example.Env") << "nor is a file past the bound";
    fs::resize_file(info, 64);
    EXPECT_EQ(readQuickly()->origin.flatpakId, "org.example.Huge");
}

TEST_F(FakeProc, WhatIsNotOursToReadStaysEmpty) {
    // Another user's process: its stat is there, its environment and program are not.
    const fs::path dir = root() / "55";
    fs::create_directories(dir);
    std::ofstream(dir / "stat") << "55 (daemon) S 1 55 55 0 -1";
    const std::optional<ProcessFacts> facts = readProcessFacts(55, root());
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->parent, 1);
    EXPECT_EQ(facts->executable, std::nullopt);
    EXPECT_EQ(facts->origin, ProcessOrigin{});

    // A file that opens and then fails to read, as a process's do once it has ended.
    fs::create_directories(dir / "environ");
    ASSERT_TRUE(readProcessFacts(55, root()));
}

TEST(ProcessFacts, OurOwnProcessAsTheKernelShowsIt) {
    const std::optional<ProcessFacts> self = readProcessFacts(::getpid());
    ASSERT_TRUE(self);
    EXPECT_EQ(self->parent, ::getppid());
    EXPECT_TRUE(self->executable.value_or("").ends_with("/linux_tests"));
}

TEST(ProcessStat, TheFieldsAreCountedFromTheLastParenthesisOfTheName) {
    const std::string fields = " S 77 321 321 0 -1 4194304 120 0 0 0 5 3 0 0 20 0 1 0 98765 1000 200\n";
    for (const std::string name : {"plain", "my (odd) app", "a) Z 1 (b", "two\nlines) X 9"}) {
        const auto stat = processStatIn("321 (" + name + ")" + fields);
        ASSERT_TRUE(stat) << name;
        EXPECT_EQ(stat->parent, 77) << name;
    }
    EXPECT_EQ(processStatIn("9 (orphan) S 0 9 9")->parent, std::nullopt);
    EXPECT_EQ(processStatIn("9 no name S 1"), std::nullopt);
    EXPECT_EQ(processStatIn("9 (no state)"), std::nullopt);
}

TEST(ProcessStat, AChildAsTheKernelShowsItWhateverItCallsItself) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::prctl(PR_SET_NAME, "x) Z 1 (\ny");
        (void)!::write(ready[1], "r", 1);
        ::pause();
        ::_exit(0);
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    const fs::path stat = "/proc/" + std::to_string(child) + "/stat";
    const auto running = readProcessStat(stat);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(running);
    EXPECT_EQ(running->parent, ::getpid());
    EXPECT_FALSE(readProcessStat(stat)) << "gone once reaped";
}
