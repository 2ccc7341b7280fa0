#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/shortcuts/HotKeyDispatch.h"
#include "dock/AutoHideFixture.h"

namespace quillbern {
namespace {

using testing::kLeft;
using testing::onDisplay;
using Kind = HotKeyAction::Kind;

constexpr std::uint32_t kCC = HotKeyChord::kControlCommand;
constexpr KeyCode kDigit1 = 18, kDigit2 = 19, kKeyP = 35, kKeyV = 9;

// Palettes, focus mode and the workspace as stand-ins that note every call in one journal.
class FakePalette final : public Palette {
public:
    FakePalette(std::string name, std::vector<std::string>& journal) : name_(std::move(name)), journal_(journal) {}
    bool isShown() const override { return shown_; }
    void show() override {
        shown_ = true;
        journal_.push_back("show " + name_);
    }
    void dismiss() override {
        journal_.push_back("dismiss " + name_);
        shown_ = false;
    }

private:
    std::string name_;
    std::vector<std::string>& journal_;
    bool shown_ = false;
};

class FakeFocusMode final : public FocusModeSwitch {
public:
    bool isActive() const override { return active; }
    void setActive(bool on) override { active = on; }
    bool active = false;
};

class FakeWorkspace final : public WorkspaceToggle {
public:
    void toggle() override { ++toggles; }
    bool hasMembers() const override { return true; }
    int toggles = 0;
};

class HotKeyDispatchTest : public testing::AutoHide {
protected:
    // Opens the docks and wires the dispatch as the application does.
    void start(const std::vector<Profile>& docks) {
        open(docks);
        dispatch = std::make_unique<HotKeyDispatch>(HotKeyDispatch::Ports{.hotKeys = w.world.hotKeys,
                                                                          .layout = w.world.keyboardLayout,
                                                                          .text = w.world.text,
                                                                          .alerts = w.world.alerts},
                                                    w.pinned(), *w.preferences);
        dispatch->syncHotkeys();
        w.pinned().onBindingsChange = [this] { dispatch->syncHotkeys(); };
        w.preferences->onOverridesChange = [this] { dispatch->syncHotkeys(); };
        preferencesChanged = w.preferences->changed.connect([this] { dispatch->syncHotkeys(); });
        dispatch->targets.dock = &w.controller();
    }
    void addFeatures() {
        dispatch->targets.overview = &overview;
        dispatch->targets.appSearch = &appSearch;
        dispatch->targets.fileSearch = &fileSearch;
        dispatch->targets.shortcutSheet = &sheet;
        dispatch->targets.focusMode = &focusMode;
        dispatch->targets.workspace = &workspace;
    }
    // A press and release of Control-Command and the key, as a person types it.
    void type(KeyCode key) {
        w.world.hotKeys.press(key, kCC);
        w.world.hotKeys.release(key, kCC);
    }
    bool isVisible(int n) { return w.pinned().profile(simDock(n, DockEdge::bottom).id)->isVisible; }

    std::vector<std::string> journal;
    FakePalette overview{"overview", journal};
    FakePalette appSearch{"search", journal};
    FakePalette fileSearch{"files", journal};
    FakePalette sheet{"sheet", journal};
    FakeFocusMode focusMode;
    FakeWorkspace workspace;
    std::unique_ptr<HotKeyDispatch> dispatch;
    Subscription preferencesChanged;
};

TEST_F(HotKeyDispatchTest, EachPaletteShortcutClosesTheOtherPalettesThenTogglesItsOwn) {
    start({simDock(1, DockEdge::bottom)});
    addFeatures();
    type(0);  // Ctrl+Super+A
    EXPECT_EQ(journal, (std::vector<std::string>{"dismiss sheet", "dismiss search", "dismiss files", "show overview"}));

    // The search shortcut while the overview is open; then again, to close it.
    journal.clear();
    type(1);
    EXPECT_FALSE(overview.isShown());
    EXPECT_TRUE(appSearch.isShown());
    EXPECT_EQ(journal, (std::vector<std::string>{"dismiss sheet", "dismiss overview", "dismiss files", "show search"}));
    type(1);
    EXPECT_FALSE(appSearch.isShown());

    type(31);  // Ctrl+Super+O
    EXPECT_TRUE(fileSearch.isShown());
    journal.clear();
    type(40);  // Ctrl+Super+K: the sheet's own shortcut leaves nothing else open and does not close itself first
    EXPECT_EQ(journal, (std::vector<std::string>{"dismiss overview", "dismiss search", "dismiss files", "show sheet"}));
    type(40);
    EXPECT_FALSE(sheet.isShown());

    // The overview shortcut while the sheet is open closes the sheet and opens the overview.
    type(40);
    type(0);
    EXPECT_FALSE(sheet.isShown());
    EXPECT_TRUE(overview.isShown());

    // Releases do nothing.
    journal.clear();
    w.world.hotKeys.press(1, kCC);
    const std::size_t afterPress = journal.size();
    w.world.hotKeys.release(1, kCC);
    EXPECT_EQ(journal.size(), afterPress);
}

TEST_F(HotKeyDispatchTest, FocusModeAndWorkspaceToggleAndEveryPressClosesTheSheet) {
    start({simDock(1, DockEdge::bottom)});
    addFeatures();
    sheet.show();
    type(kKeyV);
    EXPECT_TRUE(focusMode.active);
    EXPECT_FALSE(sheet.isShown());
    type(kKeyV);
    EXPECT_FALSE(focusMode.active);
    type(13);  // Ctrl+Super+W
    type(13);
    EXPECT_EQ(workspace.toggles, 2);

    // The dock and peek shortcuts close the sheet too.
    for (const KeyCode key : {kDigit1, kKeyP}) {
        sheet.show();
        type(key);
        EXPECT_FALSE(sheet.isShown()) << key;
    }
}

TEST_F(HotKeyDispatchTest, AbsentControllersMakeTheirActionsDoNothing) {
    start({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    dispatch->targets.dock = nullptr;
    settle();
    for (const KeyCode key : {0u, 1u, 31u, 9u, 13u, 40u, 35u, kDigit1})
        type(key);
    EXPECT_FALSE(shown(kLeft, 1)) << "without the dock controller neither peek nor the dock shortcut acts";
    EXPECT_FALSE(w.controller().isHeldOut(simDock(1, DockEdge::bottom).id));
    EXPECT_TRUE(isVisible(1));
    EXPECT_EQ(w.world.alerts.beepCount(), 0);
}

TEST_F(HotKeyDispatchTest, WhileDocksHideADockShortcutHoldsItsDockOutAndLetsItGo) {
    Profile hidden = simDock(2, DockEdge::top, onDisplay("16-1-11"));
    hidden.isVisible = false;
    Profile off = simDock(3, DockEdge::left);
    off.isEnabled = false;
    start({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), hidden, off});
    settle();
    ASSERT_FALSE(shown(kLeft, 1));

    type(kDigit1);
    EXPECT_TRUE(w.controller().isHeldOut(simDock(1, DockEdge::bottom).id));
    w.world.advance(5);
    EXPECT_TRUE(shown(kLeft, 1)) << "held out, it stays whatever the pointer does";
    type(kDigit1);
    EXPECT_FALSE(w.controller().isHeldOut(simDock(1, DockEdge::bottom).id));
    settle();
    EXPECT_FALSE(shown(kLeft, 1));

    // A dock hidden in Settings is made visible and held out.
    type(kDigit2);
    EXPECT_TRUE(isVisible(2));
    EXPECT_TRUE(w.controller().isHeldOut(hidden.id));

    // A switched-off dock only beeps.
    type(20);  // Ctrl+Super+3
    EXPECT_EQ(w.world.alerts.beepCount(), 1);
    EXPECT_FALSE(w.controller().isHeldOut(off.id));
    EXPECT_EQ(w.openPanels(), 2u);
}

TEST_F(HotKeyDispatchTest, WithoutAutoHideADockShortcutFlipsItsVisibility) {
    w.world.defaults.set("dockAutoHide", false);
    Profile off = simDock(2, DockEdge::top);
    off.isEnabled = false;
    start({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), off});
    ASSERT_TRUE(shown(kLeft, 1));

    type(kDigit1);
    EXPECT_FALSE(isVisible(1));
    EXPECT_FALSE(shown(kLeft, 1));
    type(kDigit1);
    EXPECT_TRUE(isVisible(1));
    EXPECT_TRUE(shown(kLeft, 1));
    EXPECT_FALSE(w.controller().isHeldOut(simDock(1, DockEdge::bottom).id));

    const auto before = w.pinned().profiles();
    type(kDigit2);
    EXPECT_EQ(w.world.alerts.beepCount(), 1);
    EXPECT_EQ(w.pinned().profiles(), before) << "a switched-off dock only beeps";

    // A dock that is gone: nothing.
    dispatch->toggleDockFromUserGesture(simDock(9, DockEdge::bottom).id);
    EXPECT_EQ(w.world.alerts.beepCount(), 1);
}

TEST_F(HotKeyDispatchTest, PeekRevealsHiddenDocksWhileHeldWithTheKeyOfTheRegisteredChord) {
    start({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(2, DockEdge::left)});
    settle();
    w.world.input.setKeyDown(kKeyP, true);
    w.world.hotKeys.press(kKeyP, kCC);
    EXPECT_TRUE(shown(kLeft, 1));
    EXPECT_TRUE(shown(kLeft, 2));
    w.world.advance(5);
    EXPECT_TRUE(shown(kLeft, 2));
    w.world.input.setKeyDown(kKeyP, false);
    w.world.hotKeys.release(kKeyP, kCC);
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
    EXPECT_FALSE(shown(kLeft, 2));

    // Peek on V instead: the dock controller watches V, so a release it misses still ends the peek.
    w.preferences->setOverride(HotKeyAction(Kind::peekDocks), HotKeyChord{kKeyV, kCC});
    w.world.input.setKeyDown(kKeyV, true);
    ASSERT_TRUE(w.world.hotKeys.press(kKeyV, kCC));
    w.world.advance(5);
    EXPECT_TRUE(shown(kLeft, 1));
    w.world.input.setKeyDown(kKeyV, false);
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(HotKeyDispatchTest, ReSyncingAnUnchangedListMakesNoCallsAndAChangedOneEndsAPeekFirst) {
    start({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(2, DockEdge::left)});
    const int requests = w.world.hotKeys.grabRequests();
    EXPECT_EQ(requests, 9) << "two docks and seven features";
    dispatch->syncHotkeys();
    w.pinned().setVisible(simDock(2, DockEdge::left).id, false);  // calls back, changes no binding
    w.preferences->setRevealDelay(0.48);
    EXPECT_EQ(w.world.hotKeys.grabRequests(), requests);
    EXPECT_EQ(w.world.hotKeys.releasedGrabs(), 0);

    settle();
    w.world.input.setKeyDown(kKeyP, true);
    w.world.hotKeys.press(kKeyP, kCC);
    ASSERT_TRUE(shown(kLeft, 1));
    w.pinned().setChord(simDock(2, DockEdge::left).id, HotKeyChord{kKeyV, kCC});
    EXPECT_EQ(w.world.hotKeys.grabRequests(), requests + 8) << "dock 2's chord took focus mode's";
    EXPECT_TRUE(dispatch->registration()->held().empty());
    settle();
    EXPECT_FALSE(shown(kLeft, 1)) << "the peek ended before its chord was registered again";
}

TEST_F(HotKeyDispatchTest, SwitchingShortcutsOffRemovesEveryGrabAndTheHandlerAndOnRegistersAgain) {
    start({simDock(1, DockEdge::bottom)});
    EXPECT_EQ(dispatch->registered().size(), 8u);
    EXPECT_EQ(dispatch->registered().at(HotKeyAction(Kind::peekDocks)), (HotKeyChord{kKeyP, kCC}));

    w.preferences->setHotkeysEnabled(false);
    EXPECT_FALSE(dispatch->registration());
    EXPECT_TRUE(dispatch->registered().empty());
    EXPECT_TRUE(w.world.hotKeys.grabs().empty());
    EXPECT_FALSE(w.world.hotKeys.hasHandler());
    const int requests = w.world.hotKeys.grabRequests();
    w.pinned().setChord(simDock(1, DockEdge::bottom).id, HotKeyChord{kKeyV, kCC});
    EXPECT_EQ(w.world.hotKeys.grabRequests(), requests) << "nothing is registered while switched off";

    w.preferences->setHotkeysEnabled(true);
    EXPECT_TRUE(w.world.hotKeys.hasHandler());
    EXPECT_EQ(w.world.hotKeys.grabs().size(), 7u) << "the dock's chord took focus mode's";
    EXPECT_EQ(dispatch->registered().at(HotKeyAction::profile(simDock(1, DockEdge::bottom).id)),
              (HotKeyChord{kKeyV, kCC}));

    // Docks that stop hiding lose the peek shortcut.
    w.preferences->setAutoHide(false);
    EXPECT_FALSE(dispatch->registered().contains(HotKeyAction(Kind::peekDocks)));
    EXPECT_EQ(w.world.hotKeys.grabs().size(), 6u);
}

TEST_F(HotKeyDispatchTest, AStoredChordWithFewerThanTwoModifiersIsNeverGrabbedAndLoggedOnce) {
    // Plain A for the first dock and Ctrl+Space for the search, as edited into the file by hand.
    const std::string overrides = R"({"search": {"keyCode": 49, "modifiers": 4096}})";
    w.world.defaults.setData("hotkeyOverrides.v1", Bytes(overrides.begin(), overrides.end()));
    Profile plainA = simDock(1, DockEdge::bottom);
    plainA.chord = HotKeyChord{0, 0};
    start({plainA, simDock(2, DockEdge::left)});
    std::vector<std::uint32_t> grabbedModifiers;
    for (const SimHotKeys::Grabbed& grab : w.world.hotKeys.grabs())
        grabbedModifiers.push_back(grab.modifiers);
    EXPECT_EQ(grabbedModifiers, std::vector<std::uint32_t>(7, kCC)) << "the second dock's digit and six features";
    EXPECT_FALSE(dispatch->registered().contains(HotKeyAction::profile(plainA.id)));
    EXPECT_FALSE(dispatch->registered().contains(HotKeyAction(Kind::search))) << "nor falls back to its default";
    EXPECT_EQ(w.world.log.count("is not used: with fewer than two modifier keys"), 2);

    w.preferences->setOverride(HotKeyAction(Kind::files), HotKeyChord{kKeyV, kCC | HotKeyChord::kShift});
    w.preferences->setAutoHide(false);
    EXPECT_EQ(w.world.log.count("is not used"), 2) << "not again at each registration";
}

TEST_F(HotKeyDispatchTest, ShutdownEndsAHeldPeekAndGivesEveryChordBack) {
    start({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    w.world.hotKeys.press(kKeyP, kCC);
    ASSERT_TRUE(shown(kLeft, 1));
    dispatch->shutdown();
    EXPECT_TRUE(w.world.hotKeys.grabs().empty());
    EXPECT_FALSE(w.world.hotKeys.hasHandler());
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
}

}  // namespace
}  // namespace quillbern
