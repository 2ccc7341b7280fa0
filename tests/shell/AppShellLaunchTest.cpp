#include <gtest/gtest.h>

#include "shell/ShellWorld.h"

namespace quillbern {
namespace {

using testing::ShellWorld;

std::string calls(const testing::CallLog& log) {
    std::string text;
    for (const std::string& call : log.calls())
        text += call + "\n";
    return text;
}

TEST(ShellStart, TheStoresAreMadeInTheirOrderAndNothingStartsBeforeTheLaunch) {
    ShellWorld w;
    w.make();
    // The preferences and the dock suppressor read only settings, so their places in the
    // order show in no call.
    EXPECT_TRUE(w.log.hasInOrder({"permissions.isWindowAccessTrusted",  // the window engine
                                  "permissions.isCaptureAllowed",       // hover previews
                                  "apps.",                              // the dock store
                                  "appearance.reduceTransparency",      // the appearance store
                                  "updater.onWillRelaunch", "updater.start",
                                  "login.status",  // the login item
                                  "make.walkthrough"}))
        << calls(w.log);
    EXPECT_EQ(w.log.count("threads."), 0);
    EXPECT_EQ(w.log.count("panels."), 0);
    EXPECT_EQ(w.log.count("make.statusItem"), 0);
    EXPECT_EQ(w.log.count("make.settingsWindow"), 0);
    EXPECT_FALSE(w.shell->dock());
    EXPECT_FALSE(w.shell->isLaunchComplete());
}

TEST(ShellStart, TheLaunchRunsItsStepsInOrder) {
    ShellWorld w;
    w.world.defaults.set(AppShell::kOnboardedKey, true);
    w.world.defaults.set("hideNativeDock", true);
    w.world.defaults.set("openAtLogin", true);
    w.permissions.setWindowAccessTrusted(false);
    AppShell& shell = w.make();
    w.urls.deliver({"quillbern://overview/toggle"});
    w.log.clear();

    shell.applicationDidFinishLaunching();
    EXPECT_TRUE(w.log.hasInOrder({
        "make.settingsWindow",
        "make.statusItem",
        "statusItem.show",                   // the status item
        "threads.startWorker quillbern.ax",  // window tracking
        "apps.onLaunch",
        "session.on didWake",   // ... and what it follows
        "nativeDock.setValue",  // the desktop's dock hides
        "hotKeys.setHandler",
        "hotKeys.grab",                            // the global shortcuts
        "threads.runInBackground quillbern.scan",  // palettes: the installed applications
        "make.fileSearch",                         //
        "events.onGlobalMouseDown",
        "events.onLocalMouseDown",  // the activity feeds
        "apps.onActivate",
        "session.on desktopChanged",        //
        "panels.createPanel",               // the docks
        "permissions.requestWindowAccess",  // the one prompt
        "login.registerApp",                // opening at login
        "panel.makeKeyAndOrderFront",       // the URL that waited: the overview
    })) << calls(w.log);
    EXPECT_TRUE(shell.overview()->isShown());
    EXPECT_TRUE(shell.isLaunchComplete());
    EXPECT_EQ(w.log.count("walkthrough.present"), 0);
    EXPECT_EQ(w.log.count("permissions.requestCaptureAccess"), 0);

    // Settings' help asks for the walkthrough for the whole run.
    shell.notifications().post(kShowOnboardingNotification);
    shell.notifications().post(kShowOnboardingNotification);
    EXPECT_EQ(w.log.count("walkthrough.present"), 2);
}

TEST(ShellStart, AProgramWithoutTheLaterPartsStillStartsItsDocks) {
    ShellWorld w;
    w.hasTray = false;
    AppShell& shell = w.launch(w.programParts());
    EXPECT_EQ(w.world.log.count("no system tray"), 1);
    EXPECT_TRUE(
        w.world.log.contains("no system tray on this desktop, so the status menu cannot be shown; the global "
                             "shortcuts work, and starting Quillbern again opens its Settings"));
    EXPECT_EQ(w.world.panels.openCount(), 1u);
    EXPECT_TRUE(shell.isLaunchComplete());
    // Nothing listens to clicks on the docks' behalf but the shell.
    ASSERT_TRUE(shell.dock()->onCommandClick);
    shell.dock()->onCommandClick();
    shell.notifications().post(kShowOnboardingNotification);
}

struct PromptCase {
    const char* name;
    std::optional<bool> onboarded;
    bool trusted;
    std::optional<bool> promptedBefore;
    bool walkthrough;
    bool windowAccessPrompt;
    bool capturePrompt;
    std::optional<bool> promptedAfter;
};

TEST(ShellStart, TheWalkthroughOrAtMostOnePermissionPrompt) {
    const PromptCase cases[] = {
        {"first launch", std::nullopt, false, std::nullopt, true, false, false, std::nullopt},
        {"walkthrough not finished, trusted", false, true, true, true, false, false, true},
        {"onboarded and trusted", true, true, true, false, false, true, false},
        {"onboarded, access lost, not asked yet", true, false, std::nullopt, false, true, false, true},
        {"onboarded, access lost, asked before", true, false, true, false, false, true, true},
        {"onboarded, access lost, asked flag cleared", true, false, false, false, true, false, true},
    };
    for (const PromptCase& c : cases) {
        ShellWorld w;
        if (c.onboarded) w.world.defaults.set(AppShell::kOnboardedKey, *c.onboarded);
        if (c.promptedBefore) w.world.defaults.set(AppShell::kPromptedWhileRevokedKey, *c.promptedBefore);
        w.permissions.setWindowAccessTrusted(c.trusted);
        // Previews on without their grant: the capture prompt is due whenever it is considered.
        w.world.defaults.set(PreviewStore::kEnabledKey, true);
        w.permissions.setCaptureAllowed(false);
        w.launch();
        EXPECT_EQ(w.log.count("walkthrough.present"), c.walkthrough ? 1 : 0) << c.name;
        EXPECT_EQ(w.permissions.windowAccessPrompts(), c.windowAccessPrompt ? 1 : 0) << c.name;
        EXPECT_EQ(w.permissions.captureRequests(), c.capturePrompt ? 1 : 0) << c.name;
        EXPECT_EQ(w.world.defaults.boolValue(AppShell::kPromptedWhileRevokedKey), c.promptedAfter) << c.name;
    }
}

TEST(ShellStart, AFirstLaunchWithoutAWalkthroughShowsNoPrompt) {
    ShellWorld w;
    w.permissions.setWindowAccessTrusted(false);
    w.world.defaults.set(PreviewStore::kEnabledKey, true);
    w.permissions.setCaptureAllowed(false);
    ShellParts parts = w.programParts();
    parts.walkthrough = nullptr;
    w.launch(std::move(parts));
    EXPECT_EQ(w.permissions.windowAccessPrompts(), 0);
    EXPECT_EQ(w.permissions.captureRequests(), 0);
}

TEST(ShellUrls, UrlsBeforeTheEndOfTheLaunchRunAfterItInArrivalOrderAndLaterOnesAtOnce) {
    ShellWorld w;
    AppShell& shell = w.make();
    w.urls.deliver({"quillbern://search/toggle", "quillbern://files/toggle"});
    w.urls.deliver({"quillbern://overview/toggle"});
    w.urls.deliver({"quillbern://profiles/9/show"});
    EXPECT_FALSE(shell.overview());
    EXPECT_FALSE(shell.dockPreferences().lastAutomationFailure());

    shell.applicationDidFinishLaunching();
    EXPECT_TRUE(w.log.hasInOrder(
        {"panel.makeKeyAndOrderFront", "fileSearch.show", "fileSearch.dismiss", "panel.makeKeyAndOrderFront"}))
        << calls(w.log);
    EXPECT_TRUE(shell.overview()->isShown());
    EXPECT_FALSE(shell.appSearch()->isShown()) << "the later URLs dismissed it";
    EXPECT_TRUE(shell.dockPreferences().lastAutomationFailure()) << "the last one ran too";
    w.urls.deliver({"quillbern://focus/on"});
    EXPECT_TRUE(shell.focusMode()->isActive());
}

TEST(ShellStart, ControlCommandKTogglesTheShortcutSheetAndTheShutdownClosesIt) {
    ShellWorld w;
    AppShell& shell = w.launch(w.programParts());
    constexpr KeyCode kKeyK = 40;
    ASSERT_TRUE(w.world.hotKeys.press(kKeyK, HotKeyChord::kControlCommand));
    w.world.hotKeys.release(kKeyK, HotKeyChord::kControlCommand);
    ASSERT_TRUE(shell.shortcutSheet()->isShown());
    // A line for every shortcut the shell registered: the features and the first dock.
    EXPECT_EQ(w.world.paletteViews.lastBuilt()->sheetRows.size(), shell.registeredChords().size());
    w.world.hotKeys.press(kKeyK, HotKeyChord::kControlCommand);
    w.world.hotKeys.release(kKeyK, HotKeyChord::kControlCommand);
    EXPECT_FALSE(shell.shortcutSheet()->isShown());

    shell.shortcutSheet()->show();
    const std::uint64_t sheet = shell.shortcutSheet()->panel()->serial();
    w.terminate();
    EXPECT_TRUE(w.world.panels.panel(sheet)->closed);
}

}  // namespace
}  // namespace quillbern
