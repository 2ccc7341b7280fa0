#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings/ShortcutRecording.h"
#include "core/settings/ShortcutsCardModel.h"
#include "core/shortcuts/HotKeyBindings.h"
#include "settings/SettingsTest.h"
#include "ui/settings/SettingsPanes.h"

namespace quillbern {
namespace {

using ::testing::ElementsAre;

constexpr HotKeyAction kOverview{HotKeyAction::Kind::overview};
constexpr HotKeyAction kSearch{HotKeyAction::Kind::search};
constexpr HotKeyAction kFiles{HotKeyAction::Kind::files};
constexpr HotKeyAction kFocus{HotKeyAction::Kind::focusMode};
constexpr HotKeyAction kWorkspace{HotKeyAction::Kind::workspace};
constexpr HotKeyAction kPeek{HotKeyAction::Kind::peekDocks};

constexpr std::uint32_t kCtrlSuper = HotKeyChord::kControlCommand;
constexpr std::uint32_t kCtrlAlt = HotKeyChord::kControl | HotKeyChord::kOption;

class ShortcutsCardModelTest : public testing::SettingsTest {
protected:
    void launch() {
        SettingsTest::launch();
        SettingsServices logged = services();
        const auto toggle = logged.onHotkeysToggled;
        const auto registered = logged.registeredChords;
        // Each request logged with what the store holds at that moment.
        logged.onHotkeysToggled = [this, toggle] {
            calls.push_back("toggled " + std::to_string(preferences().hotkeyOverrides().size()));
            toggle();
        };
        logged.registeredChords = [this, registered] {
            calls.push_back("registered");
            return registered();
        };
        card = std::make_unique<ShortcutsCardModel>(generalPaneInputs(logged).shortcuts);
        card->appeared();
        calls.clear();
    }
    std::string shown(const HotKeyChord& chord) const { return card->chordText().display(chord); }

    std::unique_ptr<ShortcutsCardModel> card;
    std::vector<std::string> calls;
};

TEST_F(ShortcutsCardModelTest, RefusedChordsStoreNothingAndEveryRecordingRegistersThenReads) {
    launch();
    pinned().renameProfile(pinned().profiles()[0].id, "Work");
    struct Refusal {
        HotKeyAction feature;
        HotKeyChord chord;
        std::string note;
    };
    const HotKeyChord superK{40, HotKeyChord::kCommand};
    const HotKeyChord dockDigit{18, kCtrlSuper};
    const HotKeyChord filesChord{31, kCtrlSuper};
    for (const Refusal& r :
         {Refusal{kSearch, superK,
                  shown(superK) + " needs at least two modifier keys — a single one would take that key away from "
                                  "every application."},
          Refusal{kWorkspace, dockDigit, shown(dockDigit) + " is already Quillbern's “Work”."},
          Refusal{kOverview, filesChord, shown(filesChord) + " is already Quillbern's “Open a file”."}}) {
        calls.clear();
        card->record(r.feature, r.chord);
        ASSERT_TRUE(card->note());
        EXPECT_EQ(card->note()->text, r.note);
        EXPECT_EQ(card->note()->style, SettingsNoteStyle::error);
        EXPECT_THAT(calls, ElementsAre("toggled 0", "registered"));
        EXPECT_FALSE(card->isCustom(r.feature));
    }
    EXPECT_TRUE(preferences().hotkeyOverrides().empty());
    EXPECT_FALSE(w.world.defaults.value("hotkeyOverrides.v1"));
    EXPECT_TRUE(card->isLive(kSearch)) << "the built-in chord stays in force";
}

TEST_F(ShortcutsCardModelTest, AcceptedChordsAreStoredBeforeTheRegistrationAndADesktopChordWarns) {
    launch();
    const HotKeyChord terminal{17, kCtrlAlt};
    card->record(kFocus, terminal);
    EXPECT_THAT(calls, ElementsAre("toggled 1", "registered"));
    EXPECT_EQ(card->effectiveChord(kFocus), terminal);
    EXPECT_TRUE(card->isCustom(kFocus));
    EXPECT_TRUE(card->isLive(kFocus));
    ASSERT_TRUE(card->note());
    EXPECT_EQ(card->note()->style, SettingsNoteStyle::warning);
    EXPECT_THAT(card->note()->text, ::testing::StartsWith(shown(terminal) + " is “Open a terminal” on many"));

    const HotKeyChord peek{35, kCtrlSuper | HotKeyChord::kOption};
    card->record(kPeek, peek);
    EXPECT_FALSE(card->note()) << "a plain chord clears the note";
    EXPECT_TRUE(card->isLive(kPeek));

    // Its own built-in chord is stored like any other, and then offers the way back.
    card->record(kOverview, HotKeyBindings::defaultChord(kOverview));
    EXPECT_TRUE(card->isCustom(kOverview));
    EXPECT_FALSE(card->note());

    calls.clear();
    card->weakKey();
    EXPECT_EQ(card->note()->text,
              "A shortcut needs at least two modifier keys — Ctrl, Alt, Shift or Super — so it cannot swallow an "
              "ordinary keystroke.")
        << "the modifiers in the order chords show them";
    card->unusableKey("Print");
    EXPECT_EQ(card->note(), (SettingsNote{"Print can't be part of a shortcut — hold the modifiers with another key.",
                                          SettingsNoteStyle::error}));
    EXPECT_TRUE(calls.empty()) << "a weak or unusable key neither registers nor reads";

    card->reset(kFocus);
    EXPECT_EQ(card->effectiveChord(kFocus), HotKeyBindings::defaultChord(kFocus));
    EXPECT_FALSE(card->isCustom(kFocus));
    EXPECT_FALSE(card->note());
    EXPECT_EQ(calls.back(), "registered");
    EXPECT_TRUE(card->isLive(kFocus));
}

TEST_F(ShortcutsCardModelTest, ResetAllCountsOverridesAndDockChordsAndLeavesTheSwitch) {
    launch();
    EXPECT_FALSE(card->offersResetAll());
    card->record(kSearch, {1, kCtrlSuper | HotKeyChord::kShift});
    card->record(kFiles, {31, kCtrlSuper | HotKeyChord::kShift});
    pinned().setChord(pinned().profiles()[0].id, HotKeyChord{38, kCtrlSuper | HotKeyChord::kOption});
    EXPECT_EQ(card->recordedCount(), 3);
    calls.clear();
    card->resetAll();
    EXPECT_EQ(card->recordedCount(), 0);
    EXPECT_FALSE(card->offersResetAll());
    EXPECT_FALSE(pinned().profiles()[0].chord);
    EXPECT_TRUE(card->hotkeysEnabled());
    EXPECT_THAT(calls, ElementsAre("toggled 0", "registered"));
    EXPECT_TRUE(card->isLive(kSearch));
}

TEST_F(ShortcutsCardModelTest, PeekShowsOnlyWhileDocksHideAndTheRegistrationIsReadOnceItFollowed) {
    launch();
    EXPECT_THAT(card->shownActions(), ::testing::Contains(kPeek));
    EXPECT_TRUE(card->isLive(kPeek));
    int changes = 0;
    const Subscription counted = card->changed.connect([&] { ++changes; });
    preferences().setAutoHide(false);
    EXPECT_THAT(card->shownActions(), ::testing::Not(::testing::Contains(kPeek)));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(calls.empty()) << "read only once the change has run its course";
    w.advance(0);
    EXPECT_THAT(calls, ElementsAre("registered"));
    EXPECT_FALSE(card->isLive(kPeek)) << "peek is no longer registered";
    EXPECT_FALSE(card->showsStruckThroughCaption()) << "peek is not shown";

    calls.clear();
    pinned().addProfile("Second");
    w.advance(0);
    EXPECT_THAT(calls, ElementsAre("registered")) << "the docks' list changed";
    calls.clear();
    pinned().renameProfile(pinned().profiles()[1].id, "Renamed");
    w.advance(0);
    EXPECT_TRUE(calls.empty()) << "a new name changes no registration";
}

TEST_F(ShortcutsCardModelTest, AChordAnotherApplicationHoldsShowsStruckThroughWithTheNoteThatSaysSo) {
    w.world.hotKeys.takeByOtherApplication(1, kCtrlSuper);
    const HotKeyChord workspaceLeft{123, kCtrlAlt};
    w.world.hotKeys.takeByOtherApplication(workspaceLeft.keyCode, workspaceLeft.modifiers);
    launch();
    EXPECT_FALSE(card->isLive(kSearch));
    EXPECT_TRUE(card->isLive(kOverview));
    EXPECT_TRUE(card->showsStruckThroughCaption());

    card->record(kSearch, {1, kCtrlSuper | HotKeyChord::kShift});
    EXPECT_TRUE(card->isLive(kSearch));
    EXPECT_FALSE(card->showsStruckThroughCaption());

    // The desktop's own chord, which the window manager holds: stored, and said not to work
    // in one note, not again in the legend of struck-through chords.
    card->record(kFocus, workspaceLeft);
    EXPECT_TRUE(card->isCustom(kFocus));
    EXPECT_FALSE(card->isLive(kFocus));
    EXPECT_EQ(card->note(), (SettingsNote{shown(workspaceLeft) +
                                              " is held by another application or by the desktop, so Quillbern could "
                                              "not register it — record another combination, or press the reset "
                                              "arrow to go back to the default.",
                                          SettingsNoteStyle::error}));
    EXPECT_FALSE(card->showsStruckThroughCaption());
    card->weakKey();
    EXPECT_TRUE(card->showsStruckThroughCaption()) << "the note now speaks of something else";
    card->reset(kFocus);
    EXPECT_FALSE(card->showsStruckThroughCaption());
}

TEST_F(ShortcutsCardModelTest, AStoredChordWithFewerThanTwoModifiersShowsStruckThroughAndStaysStored) {
    const std::string plainSpace = R"({"search": {"keyCode": 49, "modifiers": 0}})";
    const Bytes stored(plainSpace.begin(), plainSpace.end());
    w.world.defaults.setData("hotkeyOverrides.v1", stored);
    launch();
    EXPECT_EQ(card->effectiveChord(kSearch), (HotKeyChord{49, 0}));
    EXPECT_FALSE(card->isLive(kSearch));
    EXPECT_TRUE(card->showsStruckThroughCaption());
    EXPECT_EQ(w.world.defaults.dataValue("hotkeyOverrides.v1"), stored);
}

TEST_F(ShortcutsCardModelTest, SwitchingShortcutsOffUnregistersAndKeepsTheAutomationFailure) {
    launch();
    preferences().setLastAutomationFailure("unrecognised automation URL quillbern://focus/bogus");
    card->setHotkeysEnabled(false);
    EXPECT_THAT(calls, ElementsAre("toggled 0"));
    EXPECT_FALSE(w.world.defaults.boolValue("profileHotKeysEnabled").value_or(true));
    w.advance(0);
    EXPECT_FALSE(card->isLive(kOverview));
    EXPECT_TRUE(w.world.hotKeys.grabs().empty());
    ASSERT_TRUE(card->automationFailure());
    card->dismissAutomationFailure();
    EXPECT_FALSE(card->automationFailure());
}

}  // namespace
}  // namespace quillbern
