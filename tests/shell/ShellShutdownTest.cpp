#include <gtest/gtest.h>

#include "shell/ShellWorld.h"

namespace quillbern {
namespace {

using testing::ShellWorld;

constexpr KeyCode kKeyP = 35;

TEST(ShellShutdown, ShortcutsGoFirstThenTheDesktopsDockComesBackThenTheDocksCloseThenTrackingStops) {
    ShellWorld w;
    w.world.nativeDock.userSets("autohide", false);
    w.world.defaults.set("hideNativeDock", true);
    AppShell& shell = w.launch();
    // Peek held down: the shutdown releases it before the chords go.
    ASSERT_TRUE(w.world.hotKeys.press(kKeyP, HotKeyChord::kControlCommand));
    ASSERT_EQ(shell.hotKeys()->registration()->held().size(), 1u);
    w.log.clear();
    w.terminate();
    EXPECT_TRUE(w.log.hasInOrder({"hotKeys.ungrab", "hotKeys.clearHandler", "nativeDock.setValue autohide",
                                  "panel.close", "session.off didWake"}));
    EXPECT_EQ(w.log.count("hotKeys.ungrab"), 8);
    EXPECT_FALSE(w.world.hotKeys.release(kKeyP, HotKeyChord::kControlCommand)) << "nothing hears the key any more";
    EXPECT_TRUE(shell.registeredChords().empty());
    EXPECT_EQ(w.world.nativeDock.dockValue("autohide"), false);
    EXPECT_EQ(w.world.panels.openCount(), 0u);
    EXPECT_FALSE(shell.engine().worker()) << "window tracking stopped";
    // Hiding stays on for the next launch.
    EXPECT_EQ(w.world.defaults.boolValue("hideNativeDock"), true);
}

TEST(ShellShutdown, WithShortcutsSwitchedOffNothingIsGivenBack) {
    ShellWorld w;
    w.world.defaults.set("profileHotKeysEnabled", false);
    w.launch();
    w.log.clear();
    w.terminate();
    EXPECT_EQ(w.log.count("hotKeys."), 0);
}

TEST(ShellShutdown, WithHidingOffTheDesktopsDockIsLeftAlone) {
    ShellWorld w;
    w.launch();
    w.log.clear();
    w.terminate();
    EXPECT_EQ(w.log.count("nativeDock."), 0);
    EXPECT_TRUE(w.log.hasInOrder({"panel.close", "session.off didWake"}));
}

TEST(ShellShutdown, AScanOfTheInstalledApplicationsStillRunningAtTheQuitEndsAfterTheShellWent) {
    ShellWorld w;
    // An entry whose name is not UTF-8: the scan's end says so in the log.
    w.world.catalog.install("/apps/cafe.app", AppInfo{"cafe", std::nullopt, std::nullopt, "Caf\xe9"});
    w.launch();
    ASSERT_EQ(w.world.threads.backgroundJobs(), std::vector<std::string>{"quillbern.scan"});
    w.terminate();
    w.shell.reset();
    w.world.threads.runBackgroundJobs();
    w.world.runUntilIdle();
    EXPECT_TRUE(w.world.log.contains("1 application entry was left out"));
}

TEST(ShellShutdown, ALostDisplayRestoresTheDesktopsDockAndStopsTrackingOnly) {
    ShellWorld w;
    w.world.nativeDock.userSets("autohide", false);
    w.world.defaults.set("hideNativeDock", true);
    AppShell& shell = w.launch();
    w.log.clear();
    shell.displayLost();
    w.world.runUntilIdle();
    EXPECT_TRUE(w.log.hasInOrder({"nativeDock.setValue autohide", "session.off didWake"}));
    EXPECT_EQ(w.log.count("panel.close"), 0) << "closing a panel needs the display";
    EXPECT_EQ(w.world.nativeDock.dockValue("autohide"), false);
    EXPECT_TRUE(w.world.log.contains("every setting was saved as it changed"));
}

}  // namespace
}  // namespace quillbern
