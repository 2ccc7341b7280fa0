#include <gtest/gtest.h>

#include "core/model/ProfileRepair.h"
#include "shell/ShellWorld.h"

namespace quillbern {
namespace {

using testing::kDisplay;
using testing::ShellWorld;

std::vector<std::string> titles(const std::vector<MenuRow>& rows) {
    std::vector<std::string> shown;
    for (const MenuRow& row : rows)
        shown.push_back(row.isSeparator ? "---" : row.chord.empty() ? row.title : row.title + "\t" + row.chord);
    return shown;
}

class StatusMenuTest : public ::testing::Test {
protected:
    StatusMenuTest() { w.world.defaults.set(AppShell::kOnboardedKey, true); }

    AppShell& launch() { return w.launch(); }
    std::vector<MenuRow> open() { return w.openMenu(); }
    // The row, which the test needs to exist.
    MenuRow row(std::string_view titleStart) {
        const std::vector<MenuRow> rows = open();
        const MenuRow* found = ShellWorld::rowOf(rows, titleStart);
        EXPECT_TRUE(found) << titleStart;
        return found ? *found : MenuRow{};
    }
    void choose(std::string_view titleStart) { w.shell->statusMenu().perform(row(titleStart)); }
    std::vector<MenuRow> docks() { return row("Docks").submenu; }
    PinnedStore& pinned() { return w.shell->pinned(); }
    Uuid firstDock() { return pinned().profiles().front().id; }

    ShellWorld w;
};

TEST_F(StatusMenuTest, ANewUsersMenuListsEveryRowWithTheLiveShortcuts) {
    launch();
    const std::vector<MenuRow> rows = open();
    EXPECT_EQ(titles(rows), (std::vector<std::string>{
                                "Quillbern",
                                "Window access ✓ · Previews off",
                                "---",
                                "Docks",
                                "All open apps\tCtrl+Super+A",
                                "Search apps\tCtrl+Super+S",
                                "Open a file\tCtrl+Super+O",
                                "Focus mode\tCtrl+Super+V",
                                "Workspace\tCtrl+Super+W",
                                "Keyboard shortcuts\tCtrl+Super+K",
                                "---",
                                "Undo",
                                "---",
                                "Hover previews",
                                "---",
                                "Check for Updates…",
                                "Settings…",
                                "Help",
                                "---",
                                "Quit Quillbern",
                            }));
    // The name and the permissions only tell.
    EXPECT_FALSE(rows[0].isEnabled);
    EXPECT_FALSE(rows[1].isEnabled);
    EXPECT_EQ(rows[0].command, MenuCommand::none);
    EXPECT_TRUE(rows[11].isHidden) << "nothing to undo";
    EXPECT_EQ(rows[16].key, ',');
    EXPECT_EQ(rows[19].key, 'q');
    EXPECT_EQ(rows[19].command, MenuCommand::quit);
    for (std::size_t i : {3u, 4u, 5u, 6u, 7u, 13u, 16u, 17u, 19u})
        EXPECT_TRUE(rows[i].isEnabled) << rows[i].title;
    EXPECT_EQ(titles(rows[3].submenu), (std::vector<std::string>{"Main — bottom\tCtrl+Super+1", "---", "New dock"}));
}

TEST_F(StatusMenuTest, WithoutWindowAccessFocusModeAndTheWorkspaceAreDisabled) {
    launch();
    EXPECT_TRUE(row("Focus mode").isEnabled);
    EXPECT_FALSE(row("Workspace").isEnabled) << "an empty workspace";
    w.shell->workspace()->drop("org.example.Mail", kDisplay, {100, 100});
    EXPECT_TRUE(row("Workspace").isEnabled);

    // The status line asks the system; the rows follow the window engine's last reading.
    w.permissions.setWindowAccessTrusted(false);
    EXPECT_EQ(open()[1].title, "Window access ✗ · Previews off");
    EXPECT_TRUE(row("Focus mode").isEnabled);
    w.advance(1.0);
    EXPECT_FALSE(row("Focus mode").isEnabled);
    EXPECT_FALSE(row("Workspace").isEnabled);
}

TEST_F(StatusMenuTest, MissingPartsMakeTheirRowsDoNothingAndTheWorkspaceRowDisabled) {
    w.launch(w.programParts());
    EXPECT_FALSE(row("Workspace").isEnabled);
    for (const char* title : {"All open apps", "Search apps", "Open a file", "Keyboard shortcuts"}) {
        EXPECT_TRUE(row(title).isEnabled) << title;
        choose(title);
    }
}

TEST_F(StatusMenuTest, HoverPreviewsShowTheirSwitchAndTheirGrant) {
    launch();
    PreviewStore& previews = w.shell->previews();
    w.permissions.setCaptureAllowed(true);
    previews.setEnabled(true);
    MenuRow shown = row("Hover previews");
    EXPECT_EQ(shown.title, "Hover previews");
    EXPECT_EQ(shown.mark, CheckMark::on);
    EXPECT_EQ(open()[1].title, "Window access ✓ · Previews ✓");

    // Revoked while the program runs: opening the menu reads the grant again.
    w.permissions.setCaptureAllowed(false);
    shown = row("Hover previews");
    EXPECT_EQ(shown.title, "Hover previews — permission required");
    EXPECT_EQ(shown.mark, CheckMark::mixed);
    EXPECT_EQ(open()[1].title, "Window access ✓ · Previews: waiting for permission");

    // Choosing it asks again and leaves previews on.
    const int requests = w.permissions.captureRequests();
    choose("Hover previews");
    w.world.runUntilIdle();
    EXPECT_EQ(w.permissions.captureRequests(), requests + 1);
    EXPECT_TRUE(previews.isEnabled());

    w.permissions.setCaptureAllowed(true);
    choose("Hover previews");
    EXPECT_FALSE(previews.isEnabled());
    shown = row("Hover previews");
    EXPECT_EQ(shown.mark, CheckMark::off);
    EXPECT_EQ(shown.title, "Hover previews");
    choose("Hover previews");
    EXPECT_TRUE(previews.isEnabled());
}

TEST_F(StatusMenuTest, ShortcutsShowOnlyWhileOnAndOnlyWhereTheSystemTookThem) {
    // Another application holds Ctrl+Super+A, so the overview's row shows no chord.
    w.world.hotKeys.takeByOtherApplication(0, 0x1100);
    launch();
    EXPECT_EQ(row("All open apps").chord, "");
    EXPECT_EQ(row("Search apps").chord, "Ctrl+Super+S");

    w.shell->dockPreferences().setHotkeysEnabled(false);
    for (const MenuRow& shown : open()) {
        EXPECT_EQ(shown.chord, "") << shown.title;
        for (const MenuRow& dock : shown.submenu)
            EXPECT_EQ(dock.chord, "") << dock.title;
    }
}

TEST_F(StatusMenuTest, DockRowsAreTickedWhileVisibleOrWhileHeldOut) {
    launch();
    PinnedStore& store = pinned();
    const Uuid main = firstDock();
    const Uuid side = *store.addProfile("Side");
    store.setEdge(side, DockEdge::left);
    store.setVisible(side, true);
    const Uuid off = *store.addProfile("Spare" + std::string(5000, 'e'));
    store.setEdge(off, DockEdge::right);
    store.setEnabled(off, false);

    w.shell->dockPreferences().setAutoHide(false);
    std::vector<MenuRow> rows = docks();
    ASSERT_EQ(titles(rows), (std::vector<std::string>{
                                "Main — bottom\tCtrl+Super+1", "Side — left\tCtrl+Super+2",
                                "Spare" + std::string(15, 'e') + "…" + std::string(19, 'e') + " — right\tCtrl+Super+3",
                                "---", "New dock"}))
        << "a long name keeps its start and end, and the edge";
    EXPECT_EQ(rows[0].mark, CheckMark::on);
    EXPECT_EQ(rows[1].mark, CheckMark::on);
    EXPECT_EQ(rows[2].mark, CheckMark::off);
    EXPECT_FALSE(rows[2].isEnabled) << "a switched-off dock";
    EXPECT_EQ(rows[1].dock, side);
    store.setVisible(side, false);
    EXPECT_EQ(docks()[1].mark, CheckMark::off);

    // Auto-hide: only a dock held out is ticked, a visible one is not.
    w.shell->dockPreferences().setAutoHide(true);
    EXPECT_EQ(docks()[0].mark, CheckMark::off);
    w.shell->dock()->toggleHeldOut(main);
    EXPECT_EQ(docks()[0].mark, CheckMark::on);
    EXPECT_EQ(docks()[2].mark, CheckMark::off);
}

TEST_F(StatusMenuTest, ADockRowShowsHidesOrHoldsOutItsDockAndASwitchedOffOneBeeps) {
    launch();
    const Uuid main = firstDock();
    w.shell->dockPreferences().setAutoHide(false);
    ASSERT_TRUE(pinned().profiles().front().isVisible);
    w.shell->statusMenu().perform(docks()[0]);
    EXPECT_FALSE(pinned().profiles().front().isVisible);
    w.shell->statusMenu().perform(docks()[0]);
    EXPECT_TRUE(pinned().profiles().front().isVisible);

    w.shell->dockPreferences().setAutoHide(true);
    w.shell->statusMenu().perform(docks()[0]);
    EXPECT_TRUE(w.shell->dock()->isHeldOut(main));
    w.shell->statusMenu().perform(docks()[0]);
    EXPECT_FALSE(w.shell->dock()->isHeldOut(main));

    pinned().setEnabled(main, false);
    const int beeps = w.world.alerts.beepCount();
    w.shell->statusMenu().perform(docks()[0]);
    EXPECT_EQ(w.world.alerts.beepCount(), beeps + 1);
}

TEST_F(StatusMenuTest, NewDockAddsTheNextDefaultNameAndOpensSettingsUntilThereAreTen) {
    launch();
    pinned().addProfile("Dock 1");
    pinned().addProfile("Dock 2");
    choose("New dock");
    EXPECT_EQ(pinned().profiles().back().name, "Dock 3");
    EXPECT_EQ(w.log.count("settings.open"), 1);

    while (pinned().profiles().size() < kMaxProfiles)
        pinned().addProfile("More");
    EXPECT_FALSE(row("New dock").isEnabled);
    // Chosen anyway, it adds nothing and still opens Settings.
    choose("New dock");
    EXPECT_EQ(pinned().profiles().size(), kMaxProfiles);
    EXPECT_EQ(w.log.count("settings.open"), 2);
}

TEST_F(StatusMenuTest, UndoShowsTheLastRemovalAndPutsItBack) {
    launch();
    const Uuid main = firstDock();
    pinned().pin("org.example.Mail", "Mail", std::nullopt, main);
    EXPECT_TRUE(row("Undo").isHidden);
    pinned().unpin("org.example.Mail", main);
    const MenuRow undo = row("Put the app back");
    EXPECT_FALSE(undo.isHidden);
    EXPECT_EQ(undo.command, MenuCommand::undoLastRemoval);
    w.shell->statusMenu().perform(undo);
    EXPECT_TRUE(pinned().isPinned("org.example.Mail", main));
    EXPECT_TRUE(row("Undo").isHidden);
}

TEST_F(StatusMenuTest, UpdatesCanBeCheckedOnlyWhereAnUpdaterCanCheck) {
    w.hasUpdater = false;
    launch();
    EXPECT_FALSE(row("Check for Updates…").isEnabled);
    choose("Check for Updates…");
    EXPECT_EQ(w.updater.checks(), 0);
}

TEST_F(StatusMenuTest, AnUpdaterThatCanCheckIsAskedToCheck) {
    w.updater.setCanCheck(true);
    launch();
    EXPECT_TRUE(row("Check for Updates…").isEnabled);
    choose("Check for Updates…");
    EXPECT_EQ(w.updater.checks(), 1);
}

TEST_F(StatusMenuTest, PaletteRowsGiveWayToEachOtherButNeverCloseTheShortcutSheet) {
    launch();
    w.shell->shortcutSheet()->show();
    w.shell->appSearch()->show();
    choose("All open apps");
    EXPECT_TRUE(w.shell->overview()->isShown());
    EXPECT_FALSE(w.shell->appSearch()->isShown());
    EXPECT_TRUE(w.shell->shortcutSheet()->isShown());
    choose("All open apps");
    EXPECT_FALSE(w.shell->overview()->isShown());

    choose("Open a file");
    EXPECT_TRUE(w.fileSearch->shown);
    choose("Search apps");
    EXPECT_TRUE(w.shell->appSearch()->isShown());
    EXPECT_FALSE(w.fileSearch->shown);
    choose("Keyboard shortcuts");
    EXPECT_FALSE(w.shell->shortcutSheet()->isShown()) << "its own row toggles it";
    EXPECT_FALSE(w.shell->appSearch()->isShown());
}

TEST_F(StatusMenuTest, FocusModeAndTheWorkspaceAreSwitchedFromTheirRows) {
    launch();
    choose("Focus mode");
    EXPECT_TRUE(w.shell->focusMode()->isActive());
    EXPECT_EQ(row("Focus mode").mark, CheckMark::on);
    choose("Focus mode");
    EXPECT_FALSE(w.shell->focusMode()->isActive());

    // A running member without windows shows, so the row hides it.
    RunningApp mail;
    mail.pid = 60;
    mail.appId = "org.example.Mail";
    w.world.apps.launch(mail);
    w.world.runUntilIdle();
    w.shell->workspace()->drop("org.example.Mail", kDisplay, {100, 100});
    choose("Workspace");
    EXPECT_EQ(w.world.apps.hides(), std::vector<Pid>{60});
}

TEST_F(StatusMenuTest, SettingsHelpAndQuit) {
    launch();
    choose("Settings…");
    EXPECT_EQ(w.log.count("settings."), 1);
    w.log.clear();
    choose("Help");
    EXPECT_TRUE(w.log.hasInOrder({"settings.open", "settings.showHelp"}));
    choose("Quit Quillbern");
    EXPECT_EQ(w.process.quitCount(), 1);
}

TEST_F(StatusMenuTest, ALeftClickOpensSettingsAndTheOthersTheMenuEachLogged) {
    launch();
    StatusMenu& menu = w.shell->statusMenu();
    EXPECT_FALSE(menu.click(StatusClick::left));
    EXPECT_EQ(w.log.count("settings.open"), 1);
    EXPECT_TRUE(menu.click(StatusClick::right));
    EXPECT_TRUE(menu.click(StatusClick::controlLeft));
    EXPECT_EQ(w.log.count("settings.open"), 1);
    EXPECT_TRUE(w.world.log.contains("status item click: left button → settings"));
    EXPECT_TRUE(w.world.log.contains("status item click: right button → menu"));
    EXPECT_TRUE(w.world.log.contains("status item click: Ctrl+left button → menu"));
}

TEST(ShellWindows, StartingQuillbernAgainOpensSettings) {
    ShellWorld w;
    w.launch();
    w.urls.reopen();
    EXPECT_EQ(w.log.count("settings.open"), 1);
}

TEST(ShellWindows, ClosingTheWalkthroughHoweverMarksOnboardingComplete) {
    ShellWorld w;
    w.launch();
    ASSERT_EQ(w.log.count("walkthrough.present"), 1);
    EXPECT_FALSE(w.world.defaults.boolValue(AppShell::kOnboardedKey));
    w.walkthrough->close();
    EXPECT_EQ(w.world.defaults.boolValue(AppShell::kOnboardedKey), true);
}

}  // namespace
}  // namespace quillbern
