#include <gtest/gtest.h>

#include "core/windows/AXPermission.h"
#include "sim/SimLauncher.h"
#include "sim/SimLog.h"
#include "sim/SimPermissions.h"
#include "sim/SimProcesses.h"

namespace quillbern {
namespace {

const CommandLine kReset{"/usr/bin/reset-permission", {"window-access", "quillbern"}, {}};

class Repair : public ::testing::Test {
protected:
    SimLog log;
    SimPermissions permissions;
    SimProcesses processes;
    SimLauncher launcher;
    AXPermission permission{permissions, processes, launcher};

    void untrustedRelease() {
        permissions.setWindowAccessTrusted(false);
        permissions.setStaleEntryResetCommand(kReset);
    }
};

TEST_F(Repair, ATrustedProgramIsNeitherResetNorSentToSettings) {
    permissions.setStaleEntryResetCommand(kReset);
    EXPECT_TRUE(permission.promptRepairingStaleEntry());
    EXPECT_EQ(permissions.windowAccessPrompts(), 1);
    EXPECT_TRUE(processes.runs().empty());
    EXPECT_TRUE(launcher.openedPages().empty());
}

TEST_F(Repair, WithoutAResetCommandTheProgramIsOnlyPromptedAndARefusalOpensSettings) {
    // Linux, or a development copy: no stale entry to reset.
    permissions.setWindowAccessTrusted(false);
    EXPECT_FALSE(permission.promptRepairingStaleEntry());
    EXPECT_TRUE(processes.runs().empty());
    EXPECT_EQ(permissions.windowAccessPrompts(), 1);
    EXPECT_EQ(launcher.openedPages(), std::vector<SystemSettingsPage>{SystemSettingsPage::windowAccessPrivacy});
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Repair, AReleaseIsResetBeforeThePromptAndAGrantSkipsSettings) {
    untrustedRelease();
    permissions.setGrantsWindowAccessOnPrompt(true);
    EXPECT_TRUE(permission.promptRepairingStaleEntry());
    ASSERT_EQ(processes.runs().size(), 1u);
    EXPECT_EQ(processes.runs()[0].command, kReset);
    EXPECT_TRUE(launcher.openedPages().empty());
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Repair, EveryFailureOfTheResetIsLoggedAndThePromptFollowsRegardless) {
    untrustedRelease();
    processes.script(kReset.program, {.runsFor = 30});
    EXPECT_FALSE(permission.promptRepairingStaleEntry());
    // The wait is bounded.
    EXPECT_EQ(processes.runs().at(0).timeLimit, 2.0);
    EXPECT_TRUE(
        log.contains("Quillbern: the permission reset /usr/bin/reset-permission was still running after 2 s — killed, "
                     "prompting anyway"));

    processes.script(kReset.program, {.exitStatus = 3});
    permission.promptRepairingStaleEntry();
    EXPECT_TRUE(log.contains("Quillbern: the permission reset /usr/bin/reset-permission exited with status 3"));

    processes.script(kReset.program, {.launchError = Error{"No such file or directory", "posix", 2}});
    permission.promptRepairingStaleEntry();
    EXPECT_TRUE(log.contains(
        "Quillbern: could not run the permission reset /usr/bin/reset-permission: No such file or directory"));

    EXPECT_EQ(log.lines().size(), 3u);
    EXPECT_EQ(permissions.windowAccessPrompts(), 3);
    EXPECT_EQ(launcher.openedPages().size(), 3u);
}

}  // namespace
}  // namespace quillbern
