#include <gtest/gtest.h>

#include "core/shortcuts/ShortcutRecorder.h"
#include "sim/SimAlerts.h"
#include "sim/SimHotKeys.h"
#include "sim/SimKeyboardGrabber.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimLocalizer.h"
#include "sim/SimLog.h"
#include "sim/SimTextServices.h"

namespace quillbern {
namespace {

constexpr KeyCode kA = 0;
constexpr KeyCode kEscape = 53;

class ShortcutRecorderTest : public ::testing::Test {
protected:
    ShortcutRecorderTest()
        : recorder(alerts, hotKeys, keyboard, chordText,
                   {[this](const HotKeyChord& chord) { recorded.push_back(chord); }, [this] { ++weak; },
                    [this] { ++resets; }, [this](const std::string& name) { unusable.push_back(name); }}) {}

    void press(std::optional<KeyCode> key, EventFlags flags, const std::string& name = {}) {
        recorder.key(KeyEvent{key, flags}, name);
    }

    SimAlerts alerts;
    SimHotKeys hotKeys;
    SimKeyboardGrabber keyboard;
    SimKeyboardLayout layout;
    SimTextServices text;
    ChordText chordText{layout, text};
    std::vector<HotKeyChord> recorded;
    std::vector<std::string> unusable;
    int weak = 0;
    int resets = 0;
    ShortcutRecorder recorder;
};

TEST_F(ShortcutRecorderTest, AWeakKeyBeepsAndKeepsListeningAStrongChordIsRecordedAndEndsIt) {
    recorder.click();
    ASSERT_TRUE(recorder.isListening());
    EXPECT_EQ(recorder.text(), "Press the keys…");
    EXPECT_TRUE(hotKeys.isSuspended()) << "our own chords reach the recorder while it listens";
    EXPECT_TRUE(keyboard.isHeld()) << "and so do those other applications grab";

    press(kA, kShiftFlag);
    EXPECT_EQ(alerts.beepCount(), 1);
    EXPECT_EQ(weak, 1);
    EXPECT_TRUE(recorder.isListening());
    EXPECT_TRUE(recorded.empty());

    press(kA, kControlFlag | kCommandFlag);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded.front(), (HotKeyChord{0, 0x1100}));
    EXPECT_FALSE(recorder.isListening());
    EXPECT_FALSE(hotKeys.isSuspended());
    EXPECT_FALSE(keyboard.isHeld());

    // One strong modifier is recorded: refusing it is the host's decision.
    recorder.click();
    press(kA, kControlFlag);
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded.back(), (HotKeyChord{0, HotKeyChord::kControl}));
}

TEST_F(ShortcutRecorderTest, EscapeASecondClickOrTheLossOfTheKeyboardStopWithoutRecording) {
    recorder.click();
    press(kEscape, kOptionFlag);
    EXPECT_FALSE(recorder.isListening()) << "Escape, with any modifier";
    recorder.click();
    recorder.click();
    EXPECT_FALSE(recorder.isListening());
    recorder.click();
    recorder.stopListening();
    EXPECT_FALSE(recorder.isListening());
    EXPECT_FALSE(hotKeys.isSuspended());
    EXPECT_FALSE(keyboard.isHeld());
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(alerts.beepCount(), 0);
    // Keys outside listening do nothing.
    press(kA, kControlFlag | kCommandFlag);
    EXPECT_TRUE(recorded.empty());
}

TEST_F(ShortcutRecorderTest, AKeyThatCannotBeInAChordIsRefusedByNameAndOneThatCanIsTaken) {
    recorder.click();
    // Outside our table (Print, Pause, Menu, a media key), a lock key, a key without a label:
    // each beeps and is named, whatever the modifiers, and listening goes on.
    press(std::nullopt, kControlFlag | kOptionFlag, "Print");
    press(71, kControlFlag | kOptionFlag, "Num Lock");
    press(57, 0, "Caps Lock");
    layout.setTranslation(10, {KeyTranslation::Status::failed, {}});
    press(10, kControlFlag | kOptionFlag);
    EXPECT_EQ(unusable, (std::vector<std::string>{"Print", "Num Lock", "Caps Lock", ""}));
    EXPECT_EQ(alerts.beepCount(), 4);
    EXPECT_EQ(weak, 0);
    EXPECT_TRUE(recorder.isListening());

    // F13 and F5 have places and names: taken.
    press(105, kControlFlag | kOptionFlag);
    recorder.click();
    press(96, kControlFlag | kOptionFlag);
    EXPECT_EQ(recorded, (std::vector<HotKeyChord>{{105, 0x1800}, {96, 0x1800}}));
}

TEST_F(ShortcutRecorderTest, WhenTheKeyboardCannotBeHeldItListensAllTheSame) {
    keyboard.setHeldByAnotherApplication(true);
    SimLog log;
    recorder.click();
    EXPECT_TRUE(recorder.isListening());
    EXPECT_EQ(log.count("the keyboard could not be held for the shortcut recorder: a chord another application "
                        "grabs will not reach it"),
              1);
    press(kA, kControlFlag | kCommandFlag);
    EXPECT_EQ(recorded.size(), 1u);
}

TEST_F(ShortcutRecorderTest, ShowsNoneTheChordStruckThroughWhenNotLiveAndTheResetOnlyWhileIdle) {
    EXPECT_EQ(recorder.text(), "None");
    EXPECT_TRUE(recorder.showsNone());
    EXPECT_FALSE(recorder.showsReset());

    recorder.setRow({HotKeyChord{0, HotKeyChord::kControlCommand}, true, true});
    EXPECT_EQ(recorder.text(), "Ctrl+Super+A");
    EXPECT_FALSE(recorder.showsStruckThrough());
    EXPECT_TRUE(recorder.showsReset());
    recorder.click();
    EXPECT_FALSE(recorder.showsReset()) << "hidden while listening";
    recorder.stopListening();
    recorder.reset();
    EXPECT_EQ(resets, 1);

    recorder.setRow({HotKeyChord{0, HotKeyChord::kControlCommand}, false, false});
    EXPECT_TRUE(recorder.showsStruckThrough());
    EXPECT_FALSE(recorder.showsReset());
}

TEST_F(ShortcutRecorderTest, ItsWordsAreTranslated) {
    SimLocalizer german;
    german.addInContext("shortcut", "None", "Keines");
    german.add("Press the keys…", "Tasten drücken …");
    EXPECT_EQ(recorder.text(), "Keines");
    recorder.click();
    EXPECT_EQ(recorder.text(), "Tasten drücken …");
}

TEST_F(ShortcutRecorderTest, ARecorderGoneWhileListeningGivesTheShortcutsAndTheKeyboardBack) {
    {
        ShortcutRecorder listening(alerts, hotKeys, keyboard, chordText, {});
        listening.click();
        ASSERT_TRUE(hotKeys.isSuspended());
    }
    EXPECT_FALSE(hotKeys.isSuspended());
    EXPECT_FALSE(keyboard.isHeld());
}

}  // namespace
}  // namespace quillbern
