#include <gtest/gtest.h>

#include "core/model/AppRelauncher.h"
#include "sim/SimAppProcess.h"
#include "sim/SimLog.h"
#include "sim/SimProcesses.h"

using namespace quillbern;

TEST(AppRelauncher, StartsTheProgramItselfToWaitForThisOneThenQuits) {
    SimProcesses processes;
    SimAppProcess process;
    process.setExecutablePath("/opt/it's here/quillbern");
    process.setArguments({"--flag", "a b"});
    ASSERT_TRUE(AppRelauncher::relaunch(processes, process));
    ASSERT_EQ(processes.spawned().size(), 1u);
    const CommandLine& command = processes.spawned()[0];
    EXPECT_EQ(command.program, "/opt/it's here/quillbern");
    EXPECT_EQ(command.args, (std::vector<std::string>{"--flag", "a b"}));
    EXPECT_EQ(command.extraEnv, (std::map<std::string, std::string>{{"QUILLBERN_RELAUNCH", "1"}}))
        << "the copy reads the language from Settings; LANGUAGE stays the desktop's";
    EXPECT_EQ(process.quitCount(), 1);
}

TEST(AppRelauncher, AProgramWhoseFileIsGoneIsReportedAndThisOneStays) {
    SimLog log;
    SimProcesses processes;
    SimAppProcess process;
    process.setExecutablePath("/opt/quillbern");
    processes.script("/opt/quillbern", {Error{"/opt/quillbern: No such file or directory", "posix", 2}});
    const auto result = AppRelauncher::relaunch(processes, process);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message, "/opt/quillbern: No such file or directory");
    EXPECT_EQ(process.quitCount(), 0);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "Quillbern: relaunch failed, staying open — /opt/quillbern: No such file or directory");
}
