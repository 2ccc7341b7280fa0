#include <gtest/gtest.h>

#include "core/palettes/ShortcutSheetController.h"
#include "core/shortcuts/HotKeyDispatch.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

using Kind = HotKeyAction::Kind;

constexpr std::uint32_t kCC = HotKeyChord::kControlCommand;
constexpr KeyCode kKeyK = 40, kKeyX = 7, kEscape = 53;

HotKeyChord cc(KeyCode key) {
    return {key, kCC};
}

Uuid dockID(int n) {
    return simDock(n, DockEdge::bottom).id;
}

class ShortcutSheetTest : public ::testing::Test {
protected:
    // Docks 1 and 2, and the chords they and every feature would have.
    ShortcutSheetTest() {
        w.open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::left)});
        registered = {{HotKeyAction(Kind::overview), cc(0)},      {HotKeyAction(Kind::search), cc(1)},
                      {HotKeyAction(Kind::files), cc(31)},        {HotKeyAction(Kind::focusMode), cc(9)},
                      {HotKeyAction(Kind::workspace), cc(13)},    {HotKeyAction(Kind::cheatSheet), cc(kKeyK)},
                      {HotKeyAction::profile(dockID(1)), cc(18)}, {HotKeyAction::profile(dockID(2)), cc(19)}};
    }

    ShortcutSheetController& sheet() {
        if (!sheet_) {
            sheet_ = std::make_unique<ShortcutSheetController>(
                ShortcutSheetController::Ports{
                    .palette = w.world.palettePorts(), .layout = w.world.keyboardLayout, .text = w.world.text},
                w.pinned(), [this] {
                    ++provided;
                    return registered;
                });
        }
        return *sheet_;
    }
    std::uint64_t serial() { return sheet().panel()->serial(); }
    const SimPanelState& shownPanel() { return *w.world.panels.panel(serial()); }
    std::vector<std::string> labels() {
        std::vector<std::string> out;
        for (const ShortcutSheetRow& row : w.world.paletteViews.lastBuilt()->sheetRows)
            out.push_back(row.label);
        return out;
    }

    testing::DockTestWorld w;
    RegisteredChords registered;
    int provided = 0;
    std::unique_ptr<ShortcutSheetController> sheet_;
};

TEST_F(ShortcutSheetTest, OpensCentredOnTheDisplayUnderThePointerElseTheMainOneAsAKeyPalette) {
    w.world.paletteViews.setFittingSize({420, 300});
    w.world.input.setPointer({300, 300});
    sheet().show();
    ASSERT_TRUE(sheet().isShown());
    // Left display, visible 1920 x 1050: x 960 - 210, y 525 - 150.
    EXPECT_EQ(shownPanel().frame, (RectBL{750, 375, 420, 300}));
    EXPECT_EQ(w.world.panels.keyPanel(), serial());
    EXPECT_EQ(shownPanel().madeKey, 1);
    EXPECT_EQ(shownPanel().style.level, PanelLevel::palette);
    EXPECT_EQ(std::get<std::shared_ptr<PanelView>>(shownPanel().content), w.world.paletteViews.lastBuilt());

    w.world.input.setPointer({3000, 1000});
    sheet().show();
    EXPECT_EQ(shownPanel().frame, (RectBL{2350, 362, 420, 300}));

    // Outside every display: the display of the active window, else the primary.
    w.world.input.setPointer({-50, 500});
    w.world.screens.setMainScreen(1);
    sheet().show();
    EXPECT_EQ(shownPanel().frame.x, 2350);
    w.world.screens.setMainScreen(std::nullopt);
    sheet().show();
    EXPECT_EQ(shownPanel().frame.x, 750);
    EXPECT_EQ(w.world.panels.openCount(), 1u);
}

TEST_F(ShortcutSheetTest, WithoutAnyDisplayNothingOpensAndNothingWatchesClicks) {
    w.world.screens.setScreens({});
    sheet().show();
    EXPECT_FALSE(sheet().isShown());
    EXPECT_EQ(w.world.panels.openCount(), 0u);
    EXPECT_TRUE(w.world.events.calls().empty());
    EXPECT_EQ(w.world.paletteViews.buildCount(), 0);
    EXPECT_EQ(provided, 0) << "no list is built for nothing";
}

TEST_F(ShortcutSheetTest, ListsFeaturesInTheirOrderThenDocksInDockOrderWithPeekHeld) {
    registered[HotKeyAction(Kind::peekDocks)] = cc(35);
    // A dock whose chord is still registered but which is gone.
    registered[HotKeyAction::profile(dockID(7))] = cc(20);
    w.pinned().moveProfile(dockID(2), dockID(1));
    const std::vector<ShortcutSheetRow> rows = sheet().rows();
    ASSERT_EQ(rows.size(), 9u);
    const std::vector<ShortcutSheetRow> features = {
        {"All open apps", "Ctrl+Super+A", false, false},   {"Search apps", "Ctrl+Super+S", false, false},
        {"Open a file", "Ctrl+Super+O", false, false},     {"Focus mode", "Ctrl+Super+V", false, false},
        {"Workspace", "Ctrl+Super+W", false, false},       {"Keyboard shortcuts", "Ctrl+Super+K", false, false},
        {"Peek at all docks", "Ctrl+Super+P", false, true}};
    EXPECT_EQ(std::vector<ShortcutSheetRow>(rows.begin(), rows.begin() + 7), features);
    EXPECT_EQ(rows[7], (ShortcutSheetRow{"Dock 2", "Ctrl+Super+2", true, false}));
    EXPECT_EQ(rows[8], (ShortcutSheetRow{"Dock 1", "Ctrl+Super+1", true, false}));
}

TEST_F(ShortcutSheetTest, OnlyRegisteredChordsAreListedAndTheirGlyphsStandInOneOrder) {
    registered = {{HotKeyAction(Kind::files), {31, HotKeyChord::kShift | HotKeyChord::kCommand}},
                  {HotKeyAction(Kind::cheatSheet), {49, 0x1000 | 0x0800 | 0x0200 | 0x0100}},
                  {HotKeyAction::profile(dockID(2)), {122, HotKeyChord::kOption}}};
    EXPECT_EQ(sheet().rows(),
              (std::vector<ShortcutSheetRow>{{"Open a file", "Shift+Super+O", false, false},
                                             {"Keyboard shortcuts", "Ctrl+Alt+Shift+Super+Space", false, false},
                                             {"Dock 2", "Alt+F1", true, false}}));
    // The key label follows the layout in force when the sheet opens.
    w.world.keyboardLayout.setLayout(SimKeyboardLayout::Layout::french);
    registered = {{HotKeyAction(Kind::overview), cc(0)}};
    EXPECT_EQ(sheet().rows().front().chord, "Ctrl+Super+Q");
}

TEST_F(ShortcutSheetTest, WithNothingRegisteredTheSheetStillOpensWithAnEmptyList) {
    registered.clear();
    sheet().show();
    EXPECT_TRUE(sheet().isShown());
    EXPECT_TRUE(w.world.paletteViews.lastBuilt()->sheetRows.empty());
}

TEST_F(ShortcutSheetTest, TheListIsBuiltOncePerShowAndDoesNotFollowChangesWhileShown) {
    sheet().show();
    EXPECT_EQ(provided, 1);
    registered.erase(HotKeyAction(Kind::overview));
    w.world.advance(5);
    EXPECT_EQ(labels().front(), "All open apps");
    EXPECT_EQ(w.world.paletteViews.buildCount(), 1);
    sheet().show();
    EXPECT_EQ(provided, 2);
    EXPECT_EQ(labels().front(), "Search apps");
}

TEST_F(ShortcutSheetTest, AnyKeyEscapeAndTheLossOfTheKeyboardCloseIt) {
    sheet().show();
    EXPECT_TRUE(w.world.panels.pressKey(serial(), {kKeyX, 0}));
    EXPECT_FALSE(sheet().isShown());
    EXPECT_EQ(w.world.panels.openCount(), 0u);

    sheet().show();
    EXPECT_TRUE(w.world.panels.pressKey(serial(), {std::nullopt, 0})) << "a key outside our table closes it too";
    EXPECT_FALSE(sheet().isShown());

    sheet().show();
    EXPECT_TRUE(w.world.panels.pressEscape(serial()));
    EXPECT_FALSE(sheet().isShown());

    // A Command key is no key equivalent of the sheet's: it goes on and closes it as a key.
    sheet().show();
    EXPECT_FALSE(w.world.panels.pressKeyEquivalent(serial(), {kKeyX, kCommandFlag}));
    EXPECT_TRUE(sheet().isShown());
    EXPECT_TRUE(w.world.panels.pressKey(serial(), {kKeyX, kCommandFlag}));
    EXPECT_FALSE(sheet().isShown());

    sheet().show();
    EXPECT_TRUE(w.world.panels.takeKeyAway(serial()));
    EXPECT_FALSE(sheet().isShown());
}

TEST_F(ShortcutSheetTest, DismissingFromInsideItsOwnKeyHandlerClosesOnceAndLeavesNoMonitor) {
    sheet().show();
    const std::uint64_t shown = serial();
    EXPECT_TRUE(w.world.panels.pressKey(shown, {kEscape, 0}));
    EXPECT_TRUE(w.world.panels.panel(shown)->closed);
    // Whatever else arrives for the closed sheet finds nothing to do.
    sheet().dismiss();
    EXPECT_FALSE(w.world.panels.pressKey(shown, {kKeyX, 0}));
    EXPECT_FALSE(w.world.panels.takeKeyAway(shown));
    w.world.events.injectGlobalMouseDown({{10, 10}, kLeftButton, 0, std::nullopt});
    w.world.runUntilIdle();
    EXPECT_EQ(w.world.events.calls(),
              (std::vector<std::string>{"add global", "add local", "remove global", "remove local"}));
    EXPECT_EQ(w.world.events.globalMonitorCount(), 0u);
    EXPECT_EQ(w.world.events.localMonitorCount(), 0u);
}

TEST_F(ShortcutSheetTest, AClickInAnotherApplicationClosesItOneTurnLater) {
    sheet().show();
    w.world.events.injectGlobalMouseDown({{100, 100}, kRightButton, 0, std::nullopt});
    EXPECT_TRUE(sheet().isShown()) << "the click is handled on the main loop's next turn";
    w.world.runUntilIdle();
    EXPECT_FALSE(sheet().isShown());
}

TEST_F(ShortcutSheetTest, AClickInsideKeepsItAndAClickOnAnotherWindowOfOursClosesItAndStillActs) {
    sheet().show();
    w.world.events.injectLocalMouseDown({{900, 500}, kLeftButton, 0, serial()});
    w.world.runUntilIdle();
    EXPECT_TRUE(sheet().isShown());
    // The middle button is no click that closes it.
    w.world.events.injectLocalMouseDown({{10, 10}, kOtherButton, 0, std::nullopt});
    EXPECT_TRUE(sheet().isShown());

    // A dock watching its own clicks, subscribed after the sheet: the sheet goes at once
    // and the dock still gets the press.
    std::vector<MouseDown> dockPresses;
    Subscription dockClicks =
        w.world.events.onLocalMouseDown(kLeftButton, [&](const MouseDown& press) { dockPresses.push_back(press); });
    const MouseDown onDock{{960, 20}, kLeftButton, 0, serial() + 100};
    w.world.events.injectLocalMouseDown(onDock);
    EXPECT_FALSE(sheet().isShown());
    EXPECT_EQ(dockPresses, std::vector<MouseDown>{onDock});

    // A window of ours that is no panel (Settings) closes it too.
    sheet().show();
    w.world.events.injectLocalMouseDown({{10, 10}, kLeftButton, 0, std::nullopt});
    EXPECT_FALSE(sheet().isShown());
}

TEST_F(ShortcutSheetTest, RefusedMonitorsLeaveASheetThatStillClosesByKeys) {
    w.world.events.setRefusesMonitors(true);
    sheet().show();
    EXPECT_TRUE(sheet().isShown());
    w.world.events.injectGlobalMouseDown({{100, 100}, kLeftButton, 0, std::nullopt});
    w.world.runUntilIdle();
    EXPECT_TRUE(sheet().isShown()) << "no monitor, so that click goes unseen";
    EXPECT_TRUE(w.world.panels.pressKey(serial(), {kKeyX, 0}));
    EXPECT_FALSE(sheet().isShown());
}

TEST_F(ShortcutSheetTest, AClickAfterTheControllerWentFindsNothing) {
    sheet().show();
    w.world.events.injectGlobalMouseDown({{100, 100}, kLeftButton, 0, std::nullopt});
    sheet_.reset();
    w.world.runUntilIdle();
    EXPECT_EQ(w.world.panels.openCount(), 0u);
}

// The shortcuts as the program wires them: the dispatch toggles the real sheet.
TEST_F(ShortcutSheetTest, ControlCommandKTogglesTheSheetListingWhatTheShortcutsRegistered) {
    HotKeyDispatch dispatch(
        {.hotKeys = w.world.hotKeys, .layout = w.world.keyboardLayout, .text = w.world.text, .alerts = w.world.alerts},
        w.pinned(), *w.preferences);
    w.world.hotKeys.takeByOtherApplication(0, kCC);
    dispatch.syncHotkeys();
    ShortcutSheetController wired(
        ShortcutSheetController::Ports{
            .palette = w.world.palettePorts(), .layout = w.world.keyboardLayout, .text = w.world.text},
        w.pinned(), [&dispatch] { return dispatch.registered(); });
    dispatch.targets.shortcutSheet = &wired;

    w.world.input.setPointer({2500, 500});
    ASSERT_TRUE(w.world.hotKeys.press(kKeyK, kCC));
    w.world.hotKeys.release(kKeyK, kCC);
    ASSERT_TRUE(wired.isShown());
    EXPECT_EQ(w.world.panels.panel(wired.panel()->serial())->frame.midX(), 2560);
    // Ctrl+Super+A belongs to another application, so the overview is missing; docks hide
    // themselves by default, so peeking has its shortcut.
    EXPECT_EQ(labels(), (std::vector<std::string>{"Search apps", "Open a file", "Focus mode", "Workspace",
                                                  "Keyboard shortcuts", "Peek at all docks", "Dock 1", "Dock 2"}));
    w.world.hotKeys.press(kKeyK, kCC);
    w.world.hotKeys.release(kKeyK, kCC);
    EXPECT_FALSE(wired.isShown());

    // Any other shortcut closes it.
    w.world.hotKeys.press(kKeyK, kCC);
    w.world.hotKeys.release(kKeyK, kCC);
    w.world.hotKeys.press(9, kCC);
    EXPECT_FALSE(wired.isShown());

    // With global shortcuts off nothing is registered: the list is empty.
    w.preferences->setHotkeysEnabled(false);
    dispatch.syncHotkeys();
    wired.show();
    EXPECT_TRUE(w.world.paletteViews.lastBuilt()->sheetRows.empty());
    dispatch.shutdown();
}

}  // namespace
}  // namespace quillbern
