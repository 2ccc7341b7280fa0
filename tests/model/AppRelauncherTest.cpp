#include <gtest/gtest.h>

#include "core/model/AppRelauncher.h"
#include "sim/SimAppProcess.h"
#include "sim/SimLog.h"
#include "sim/SimProcesses.h"

using namespace quillbern;

TEST(AppRelauncher, StartsACopyThatWaitsForThisOneToEndWithThePathAsAnArgumentThenQuits) {
    SimProcesses processes;
    SimAppProcess process;
    process.setPid(4321);
    process.setExecutablePath("/opt/it's here/quillbern");
    process.setArguments({"--flag", "a b"});
    ASSERT_TRUE(AppRelauncher::relaunch(processes, process));
    ASSERT_EQ(processes.spawned().size(), 1u);
    const CommandLine& command = processes.spawned()[0];
    EXPECT_EQ(command.program, "/bin/sh");
    EXPECT_EQ(command.args, (std::vector<std::string>{"-c",
                                                      "pid=$1; shift; n=0; while kill -0 \"$pid\" 2>/dev/null && "
                                                      "[ \"$n\" -lt 100 ]; do sleep 0.1; n=$((n + 1)); done; "
                                                      "exec \"$0\" \"$@\"",
                                                      "/opt/it's here/quillbern", "4321", "--flag", "a b"}));
    EXPECT_TRUE(command.extraEnv.empty()) << "the copy reads the language from Settings; LANGUAGE stays the desktop's";
    EXPECT_EQ(process.quitCount(), 1);
}

TEST(AppRelauncher, ACopyThatCannotStartIsReportedAndTheProgramStays) {
    SimLog log;
    SimProcesses processes;
    processes.script("/bin/sh", {Error{"No such file or directory", "posix", 2}});
    SimAppProcess process;
    const auto result = AppRelauncher::relaunch(processes, process);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message, "No such file or directory");
    EXPECT_EQ(process.quitCount(), 0);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "Quillbern: relaunch failed, staying open — No such file or directory");
}
