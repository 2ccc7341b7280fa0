#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileSearchControllerWorld.h"
#include "core/foundation/Log.h"

using namespace quillbern;
using namespace quillbern::testing;
using ::testing::ElementsAre;

namespace {

constexpr KeyCode kReturn = 36, kEnter = 76, kTab = 48, kDelete = 51, kDown = 125, kUp = 126, kKeyA = 0;
constexpr KeyCode kDigit1 = 18, kDigit2 = 19, kDigit5 = 23, kDigit0 = 29;
constexpr EventFlags kNumericPad = 0x200000, kFunctionKey = 0x800000;

std::string selectedName(FileControllerWorld& f) {
    return f.state().selectedEntry() ? f.state().selectedEntry()->name : std::string("(none)");
}

}  // namespace

TEST(FileSearchControllerShow, OpensOnTheSearchLineAtTheTopLevelAndEachShowStartsAfresh) {
    FileControllerWorld f;
    f.palette().show();
    ASSERT_TRUE(f.palette().isShown());
    // Left display, visible 1920 x 1050 from y 0: top edge at 1050 - 0.22 x 1050 = 819.
    EXPECT_EQ(f.panel().frame, (RectBL{676, 519, 568, 300}));
    EXPECT_EQ(f.w.world.panels.keyPanel(), f.serial());
    EXPECT_THAT(namesOf(*f.state().levelEntries()), ElementsAre("Desktop", "Documents", "Downloads"));
    EXPECT_EQ(f.view().fileInputs.state.get(), f.palette().state());
    ASSERT_TRUE(f.view().fileInputs.openSettings) << "this desktop has a page for folder access";

    f.enter("Documents");
    f.palette().show();
    EXPECT_FALSE(f.state().breadcrumb()) << "a new show is at the top level";
    EXPECT_EQ(f.w.world.panels.openCount(), 1u);

    f.view().fileInputs.openSettings();
    EXPECT_FALSE(f.palette().isShown());
    EXPECT_THAT(f.w.world.launcher.openedPages(), ElementsAre(SystemSettingsPage::filesPrivacy));
    f.w.world.launcher.setOpensPages(false);
    f.palette().show();
    EXPECT_FALSE(f.view().fileInputs.openSettings) << "no button where the desktop has no such page";
}

TEST(FileSearchControllerShow, EscapeClearsTheQueryFirstAndClosesSecond) {
    FileControllerWorld f;
    f.palette().show();
    f.state().setQuery("let");
    EXPECT_TRUE(f.w.world.panels.pressEscape(f.serial()));
    EXPECT_TRUE(f.palette().isShown());
    EXPECT_EQ(f.state().query(), "");
    f.w.world.panels.pressEscape(f.serial());
    EXPECT_FALSE(f.palette().isShown());
    EXPECT_EQ(f.palette().state(), nullptr);
    EXPECT_FALSE(f.w.world.panels.pressKey(f.serial(), {kReturn, 0})) << "keys after the dismissal reach nothing";
}

TEST(FileSearchControllerKeys, ReturnEntersAFolderAndOpensAFileClosingThePalette) {
    FileControllerWorld f;
    f.w.world.launcher.setApps("/home/u/Documents/letter.txt", appNamed("Editor"), {});
    f.palette().show();
    f.select("Documents");
    EXPECT_TRUE(f.key(kReturn));
    f.settle();
    EXPECT_TRUE(f.palette().isShown());
    EXPECT_EQ(f.state().breadcrumb(), "Documents");

    f.select("letter.txt");
    EXPECT_TRUE(f.key(kEnter));
    EXPECT_FALSE(f.palette().isShown());
    EXPECT_THAT(f.w.world.launcher.openedDocuments(), ElementsAre("/home/u/Documents/letter.txt"));
}

TEST(FileSearchControllerKeys, MovingKeysTabWithShiftAndReturnOnAnEmptyList) {
    FileControllerWorld f;
    f.palette().show();
    EXPECT_TRUE(f.key(kDown));
    EXPECT_EQ(selectedName(f), "Documents");
    EXPECT_TRUE(f.key(kTab));
    EXPECT_EQ(selectedName(f), "Downloads");
    EXPECT_TRUE(f.key(kTab, kShiftFlag));
    EXPECT_EQ(selectedName(f), "Documents");
    EXPECT_TRUE(f.key(kUp));
    EXPECT_EQ(selectedName(f), "Desktop");

    f.enter("Documents");
    f.enter("Empty");
    EXPECT_TRUE(f.key(kReturn)) << "consumed with nothing to open";
    EXPECT_TRUE(f.palette().isShown());
    EXPECT_FALSE(f.command(kReturn)) << "Command-Return with nothing selected is not taken";
    EXPECT_TRUE(f.w.world.menus.shown().empty());
}

TEST(FileSearchControllerKeys, DeleteGoesUpWithoutAQueryRefocusesWithOneAndDoesNothingAtTheTop) {
    FileControllerWorld f;
    f.palette().show();
    EXPECT_TRUE(f.key(kDelete)) << "consumed at the top level";
    EXPECT_FALSE(f.state().breadcrumb());
    EXPECT_EQ(f.view().fieldFocuses, 0);

    f.enter("Documents");
    f.state().setQuery("no");
    EXPECT_TRUE(f.key(kDelete));
    EXPECT_EQ(f.state().breadcrumb(), "Documents") << "with a query it only gives the field the keyboard";
    EXPECT_EQ(f.view().fieldFocuses, 1);

    f.state().setQuery("");
    EXPECT_TRUE(f.key(kDelete));
    EXPECT_FALSE(f.state().breadcrumb());
}

TEST(FileSearchControllerKeys, APrintableKeyRefocusesTheFieldWhileCommandAndControlKeysPassOn) {
    FileControllerWorld f;
    f.palette().show();
    EXPECT_TRUE(f.key(kKeyA));
    EXPECT_EQ(f.view().fieldFocuses, 1);
    EXPECT_EQ(f.state().query(), "") << "the key itself is dropped";
    EXPECT_FALSE(f.key(kKeyA, kCommandFlag));
    EXPECT_FALSE(f.key(kKeyA, kControlFlag));
    EXPECT_EQ(f.view().fieldFocuses, 1);
}

TEST(FileSearchControllerKeys, CommandKeysNeedCommandAloneAndArrowsMayCarryKeypadFlags) {
    FileControllerWorld f;
    f.palette().show();
    f.enter("Documents");
    EXPECT_TRUE(f.command(kUp, kNumericPad | kFunctionKey));
    EXPECT_FALSE(f.state().breadcrumb());
    EXPECT_TRUE(f.command(kUp)) << "at the top level it is still taken";

    f.enter("Documents");
    EXPECT_FALSE(f.command(kUp, kShiftFlag));
    EXPECT_FALSE(f.command(kUp, kControlFlag));
    EXPECT_FALSE(f.command(kUp, kOptionFlag));
    EXPECT_EQ(f.state().breadcrumb(), "Documents");
    EXPECT_FALSE(f.command(kKeyA));
}

TEST(FileSearchControllerKeys, CommandDigitsOpenWithTheNthApplicationOfAFileOnly) {
    FileControllerWorld f;
    const Path letter = "/home/u/Documents/letter.txt";
    f.w.world.launcher.setApps(letter, appNamed("Editor"),
                               {appNamed("Editor"), appNamed("Viewer"), appNamed("Office")});
    f.palette().show();
    f.select("Documents");
    EXPECT_FALSE(f.command(kDigit1)) << "a folder has no applications";
    f.enter("Documents");
    f.select("letter.txt");
    EXPECT_FALSE(f.command(kDigit1, kShiftFlag)) << "Command-Shift-1 is no digit shortcut";
    EXPECT_TRUE(f.command(kDigit5)) << "beyond the candidates: taken, nothing happens";
    EXPECT_TRUE(f.command(kDigit0));
    EXPECT_TRUE(f.palette().isShown());
    EXPECT_TRUE(f.w.world.launcher.opened().empty());

    EXPECT_TRUE(f.command(kDigit2));
    EXPECT_FALSE(f.palette().isShown());
    ASSERT_EQ(f.w.world.launcher.opened().size(), 1u);
    EXPECT_THAT(f.w.world.launcher.opened()[0].files, ElementsAre(letter));
    EXPECT_EQ(f.w.world.launcher.opened()[0].appPath, appNamed("Viewer").path);
}

TEST(FileSearchControllerKeys, CommandDigitsWithNothingSelectedAreNotTaken) {
    FileControllerWorld f;
    f.palette().show();
    f.enter("Documents");
    f.enter("Empty");
    EXPECT_FALSE(f.command(kDigit1));
}

TEST(FileSearchControllerOpening, AFileNoApplicationOpensIsLoggedAndBeepsInsteadOfFailingSilently) {
    FileControllerWorld f;
    f.palette().show();
    f.enter("Documents");
    f.select("notes.txt");
    f.key(kReturn);
    EXPECT_FALSE(f.palette().isShown());
    EXPECT_TRUE(f.w.world.launcher.openedDocuments().empty());
    EXPECT_EQ(f.w.world.alerts.beepCount(), 1);
    EXPECT_TRUE(f.w.world.log.contains("no application opens /home/u/Documents/notes.txt"));
}

TEST(FileSearchControllerOpening, ANameThatIsNotTextShowsAReplacementButOpensByItsBytes) {
    FileControllerWorld f;
    const Path raw = "/home/u/Documents/caf\xE9.txt";
    f.w.world.files.addFile(raw, day(9));
    f.w.world.launcher.setApps(raw, appNamed("Editor"), {});
    f.palette().show();
    f.enter("Documents");
    f.select("caf\xEF\xBF\xBD.txt");
    f.key(kReturn);
    EXPECT_THAT(f.w.world.launcher.openedDocuments(), ElementsAre(raw));
}

TEST(FileSearchControllerDismissal, OutsideClicksAndKeyLossClose) {
    FileControllerWorld f;
    f.palette().show();
    f.clickInOtherApplication();
    EXPECT_TRUE(f.palette().isShown()) << "a turn later";
    f.w.world.runUntilIdle();
    EXPECT_FALSE(f.palette().isShown());

    f.palette().show();
    f.w.world.panels.takeKeyAway(f.serial());
    EXPECT_FALSE(f.palette().isShown());
}

TEST(FileSearchControllerDismissal, StandsDownWhileTheSystemAsksForAccessAndTakesTheKeyboardBack) {
    FileControllerWorld f;
    f.prompt = "org.example.FolderAccess";
    f.w.world.apps.launch({.pid = 77, .name = "Access", .appId = "org.example.FolderAccess"});
    f.palette().show();
    f.select("Documents");
    f.key(kReturn);
    ASSERT_TRUE(f.state().isLoadingLevel());
    EXPECT_FALSE(f.palette().standDownForPermissionPrompt()) << "only while the prompt is in front";

    f.w.world.apps.activateByUser(77);
    EXPECT_TRUE(f.palette().standDownForPermissionPrompt());
    f.w.world.panels.takeKeyAway(f.serial());
    f.clickInOtherApplication();
    f.w.world.runUntilIdle();
    EXPECT_TRUE(f.palette().isShown());
    EXPECT_NE(f.w.world.panels.keyPanel(), f.serial());

    const int focused = f.view().fieldFocuses;
    f.settle();
    EXPECT_FALSE(f.palette().standDownForPermissionPrompt());
    EXPECT_EQ(f.w.world.panels.keyPanel(), f.serial()) << "the listing brings the keyboard back";
    EXPECT_EQ(f.view().fieldFocuses, focused + 1);

    // Our own windows are never the prompt: a click there closes.
    f.state().goUp();
    f.enter("Documents");
    f.w.world.events.injectLocalMouseDown({{10, 10}, kLeftButton, 0, std::uint64_t{999}});
    EXPECT_FALSE(f.palette().isShown());
}

TEST(FileSearchControllerDismissal, WithoutAPromptOnTheSystemNothingStandsDown) {
    FileControllerWorld f;
    f.w.world.apps.launch({.pid = 77, .name = "Access", .appId = "org.example.FolderAccess"});
    f.w.world.apps.activateByUser(77);
    f.palette().show();
    f.select("Documents");
    f.key(kReturn);
    EXPECT_FALSE(f.palette().standDownForPermissionPrompt());
    f.w.world.panels.takeKeyAway(f.serial());
    EXPECT_FALSE(f.palette().isShown());
}

TEST(FileSearchControllerDismissal, ALevelLoadedRefocusesOnlyAShownPaletteWithoutTheKeyboardOrAMenu) {
    FileControllerWorld f;
    f.palette().show();
    f.select("Documents");
    f.key(kReturn);
    f.settle();
    EXPECT_EQ(f.view().fieldFocuses, 0) << "the palette had the keyboard: nothing to take back";
    EXPECT_EQ(f.panel().madeKey, 1);

    // The keyboard gone while a menu is open: a level arriving meanwhile leaves it alone.
    f.state().goUp();
    f.select("Documents");
    f.w.world.menus.script({.choose = std::nullopt, .whileOpen = [&] {
                                f.key(kReturn);
                                f.w.world.panels.takeKeyAway(f.serial());
                                f.settle();
                                EXPECT_EQ(f.panel().madeKey, 1);
                            }});
    f.command(kReturn);
    EXPECT_TRUE(f.palette().isShown()) << "losing the keyboard to the menu closes nothing";
    EXPECT_EQ(f.panel().madeKey, 2) << "the menu closing gives it back";
}

TEST(FileSearchCandidates, DefaultFirstEachOnceAtMostTwelveWithNineDigitLabels) {
    SimWorld world;
    std::vector<InstalledApp> all;
    for (int n = 1; n <= 14; ++n)
        all.push_back(appNamed("App" + std::to_string(n)));
    world.launcher.setApps("/f.txt", appNamed("App5"), all);
    const std::vector<OpenWithCandidate> candidates = openWithCandidates(world.launcher, "/f.txt");
    ASSERT_EQ(candidates.size(), 12u);
    EXPECT_EQ(candidates[0].app.name, "App5");
    EXPECT_TRUE(candidates[0].isDefault);
    EXPECT_EQ(candidates[1].app.name, "App1");
    EXPECT_EQ(candidates[5].app.name, "App6") << "the default is not listed a second time";
    EXPECT_FALSE(candidates[1].isDefault);

    world.launcher.setApps("/g.txt", std::nullopt, {appNamed("Viewer")});
    EXPECT_FALSE(openWithCandidates(world.launcher, "/g.txt").at(0).isDefault);
    EXPECT_TRUE(openWithCandidates(world.launcher, "/none").empty());
}

TEST(FileSearchCandidates, DigitLabelsFollowTheLayoutAndFallBackToDigits) {
    SimKeyboardLayout layout;
    EXPECT_EQ(digitRowLabel(layout, 0), "1");
    EXPECT_EQ(digitRowLabel(layout, 8), "9");
    EXPECT_EQ(digitRowLabel(layout, 9), "10") << "the tenth is never labelled by a key";
    layout.setLayout(SimKeyboardLayout::Layout::french);
    EXPECT_EQ(digitRowLabel(layout, 0), "&");
    EXPECT_EQ(digitRowLabel(layout, 1), "\xC3\xA9");
    layout.setTranslation(20, {KeyTranslation::Status::ok, "ab"});
    EXPECT_EQ(digitRowLabel(layout, 2), "3") << "more than one character";
    layout.setLayout(SimKeyboardLayout::Layout::none);
    EXPECT_EQ(digitRowLabel(layout, 4), "5");
}

TEST(FileSearchPicker, AFolderListsEveryDockPinnedOnesCheckedAndDisabledThenOpenInFiles) {
    Profile first = simDock(1, DockEdge::bottom), second = simDock(2, DockEdge::left),
            third = simDock(3, DockEdge::top);
    second.items.push_back(PinnedLocation{Uuid{}, "Projects", "/home/u/Documents/Projects"});
    FileControllerWorld f({first, second, third});
    f.palette().show();
    f.enter("Documents");
    f.select("Projects");
    f.w.world.menus.script({.choose = first.name, .whileOpen = {}});
    EXPECT_TRUE(f.command(kReturn));

    ASSERT_EQ(f.w.world.menus.shown().size(), 1u);
    const SimMenus::Shown& menu = f.w.world.menus.shown()[0];
    EXPECT_EQ(menu.panel, f.serial());
    EXPECT_EQ(menu.at, FileSearchController::kKeyboardPickerPoint) << "from the keyboard, never under the mouse";
    ASSERT_EQ(menu.items.size(), 5u);
    EXPECT_EQ(menu.items[0].title, first.name);
    EXPECT_TRUE(menu.items[0].enabled);
    EXPECT_FALSE(menu.items[0].checked);
    EXPECT_TRUE(menu.items[1].checked);
    EXPECT_FALSE(menu.items[1].enabled);
    EXPECT_TRUE(menu.items[2].enabled);
    EXPECT_TRUE(menu.items[3].isSeparator);
    EXPECT_EQ(menu.items[4].title, "Open in File Manager");

    // The chosen dock pins it; the palette stays with the keyboard and the field.
    EXPECT_TRUE(f.w.pinned().hasLocation("/home/u/Documents/Projects", first.id));
    EXPECT_TRUE(f.palette().isShown());
    EXPECT_EQ(f.w.world.panels.keyPanel(), f.serial());
    EXPECT_EQ(f.view().fieldFocuses, 1);
    EXPECT_FALSE(f.palette().isPickerMenuOpen());
}

TEST(FileSearchPicker, AFolderWhoseNameIsNotTextCannotBePinned) {
    FileControllerWorld f({simDock(1, DockEdge::bottom)});
    f.w.world.files.addDirectory("/home/u/Documents/Caf\xE9");
    f.palette().show();
    f.enter("Documents");
    f.select("Caf\xEF\xBF\xBD");
    f.command(kReturn);
    ASSERT_FALSE(f.w.world.menus.shown().empty());
    EXPECT_FALSE(f.w.world.menus.shown()[0].items[0].enabled);
}

TEST(FileSearchPicker, AFileListsItsApplicationsWithDigitKeysTheDefaultCheckedThenShowInFiles) {
    FileControllerWorld f;
    const Path letter = "/home/u/Documents/letter.txt";
    std::vector<InstalledApp> all;
    for (int n = 1; n <= 11; ++n)
        all.push_back(appNamed("App" + std::to_string(n)));
    f.w.world.launcher.setApps(letter, appNamed("Editor"), all);
    f.w.world.keyboardLayout.setLayout(SimKeyboardLayout::Layout::french);
    f.palette().show();
    f.enter("Documents");
    f.select("letter.txt");
    f.w.world.input.setPointer({800, 700});
    f.view().fileInputs.picker(*f.state().selectedEntry());

    const SimMenus::Shown& menu = f.w.world.menus.shown().at(0);
    // Under the pointer: (800 - 676, 819 - 700) in the content.
    EXPECT_EQ(menu.at, (Point{124, 119}));
    ASSERT_EQ(menu.items.size(), 1u + 12u + 2u);
    EXPECT_EQ(menu.items[0].title, "Open with");
    EXPECT_FALSE(menu.items[0].enabled);
    EXPECT_EQ(menu.items[1].title, "Editor");
    EXPECT_TRUE(menu.items[1].checked);
    EXPECT_EQ(menu.items[1].keyEquivalent, "&");
    EXPECT_EQ(menu.items[9].keyEquivalent, "\xC3\xA7") << "the ninth";
    EXPECT_EQ(menu.items[10].keyEquivalent, "");
    EXPECT_FALSE(menu.items[2].checked);
    EXPECT_EQ(menu.items[14].title, "Show in File Manager");
}

TEST(FileSearchPicker, TheFirstApplicationIsCheckedOnlyWhenItIsTheDesktopsDefault) {
    FileControllerWorld f;
    f.w.world.launcher.setApps("/home/u/Documents/letter.txt", std::nullopt, {appNamed("Viewer"), appNamed("Office")});
    f.palette().show();
    f.enter("Documents");
    f.select("letter.txt");
    f.command(kReturn);
    const std::vector<MenuItem>& items = f.w.world.menus.shown().at(0).items;
    EXPECT_EQ(items[1].title, "Viewer");
    EXPECT_FALSE(items[1].checked);
    EXPECT_FALSE(items[2].checked);
}

TEST(FileSearchPicker, ChoicesThatLeaveThePaletteCloseItFirst) {
    FileControllerWorld f;
    const Path letter = "/home/u/Documents/letter.txt";
    f.w.world.launcher.setApps(letter, appNamed("Editor"), {appNamed("Viewer")});
    f.palette().show();
    f.enter("Documents");
    f.select("letter.txt");
    f.w.world.menus.script({.choose = "Viewer", .whileOpen = {}});
    f.command(kReturn);
    EXPECT_FALSE(f.palette().isShown());
    ASSERT_EQ(f.w.world.launcher.opened().size(), 1u);
    EXPECT_EQ(f.w.world.launcher.opened()[0].appPath, appNamed("Viewer").path);

    f.palette().show();
    f.enter("Documents");
    f.select("letter.txt");
    bool shownWhenRevealed = true;
    f.w.world.menus.script({.choose = "Show in File Manager", .whileOpen = {}});
    f.command(kReturn);
    shownWhenRevealed = f.palette().isShown();
    EXPECT_FALSE(shownWhenRevealed);
    EXPECT_THAT(f.w.world.launcher.revealed(), ElementsAre(std::vector<Path>{letter}));

    // A folder opens in the file manager: its type's default application.
    f.w.world.launcher.setApps("/home/u/Documents/Projects", appNamed("Files"), {});
    f.palette().show();
    f.enter("Documents");
    f.select("Projects");
    f.w.world.menus.script({.choose = "Open in File Manager", .whileOpen = {}});
    f.command(kReturn);
    EXPECT_FALSE(f.palette().isShown());
    EXPECT_THAT(f.w.world.launcher.openedDocuments(), ElementsAre("/home/u/Documents/Projects"));
}

TEST(FileSearchPicker, AClickInAnotherApplicationDuringTheMenuClosesThePaletteOnceTheMenuCloses) {
    FileControllerWorld f;
    f.palette().show();
    f.select("Documents");
    f.w.world.menus.script({.choose = std::nullopt, .whileOpen = [&] {
                                f.clickInOtherApplication();
                                f.w.world.runUntilIdle();
                                f.w.world.panels.takeKeyAway(f.serial());
                                EXPECT_TRUE(f.palette().isShown()) << "only recorded while the menu is open";
                            }});
    f.command(kReturn);
    EXPECT_FALSE(f.palette().isShown());

    // Closed without a click elsewhere: back to the field.
    f.palette().show();
    f.w.world.menus.script({.choose = std::nullopt, .whileOpen = {}});
    f.command(kReturn);
    EXPECT_TRUE(f.palette().isShown());
    EXPECT_EQ(f.w.world.panels.keyPanel(), f.serial());
}
