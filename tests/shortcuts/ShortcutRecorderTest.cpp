#include <gtest/gtest.h>

#include "core/shortcuts/ShortcutRecorder.h"
#include "sim/SimAlerts.h"
#include "sim/SimHotKeys.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimLocalizer.h"
#include "sim/SimTextServices.h"

namespace quillbern {
namespace {

constexpr KeyCode kA = 0;
constexpr KeyCode kEscape = 53;

class ShortcutRecorderTest : public ::testing::Test {
protected:
    ShortcutRecorderTest()
        : recorder(alerts, hotKeys, chordText,
                   {[this](const HotKeyChord& chord) { recorded.push_back(chord); }, [this] { ++weak; },
                    [this] { ++resets; }}) {}

    void press(KeyCode key, EventFlags flags) { recorder.key(KeyEvent{key, flags}); }

    SimAlerts alerts;
    SimHotKeys hotKeys;
    SimKeyboardLayout layout;
    SimTextServices text;
    ChordText chordText{layout, text};
    std::vector<HotKeyChord> recorded;
    int weak = 0;
    int resets = 0;
    ShortcutRecorder recorder;
};

TEST_F(ShortcutRecorderTest, AWeakKeyBeepsAndKeepsListeningAStrongChordIsRecordedAndEndsIt) {
    recorder.click();
    ASSERT_TRUE(recorder.isListening());
    EXPECT_EQ(recorder.text(), "Press the keys…");
    EXPECT_TRUE(hotKeys.isSuspended()) << "our own chords reach the recorder while it listens";

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
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(alerts.beepCount(), 0);

    // A key our table does not know is no chord: a beep, and listening goes on.
    recorder.click();
    recorder.key(KeyEvent{std::nullopt, kControlFlag | kCommandFlag});
    EXPECT_EQ(alerts.beepCount(), 1);
    EXPECT_TRUE(recorder.isListening());
    // Keys outside listening do nothing.
    recorder.stopListening();
    press(kA, kControlFlag | kCommandFlag);
    EXPECT_TRUE(recorded.empty());
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

TEST_F(ShortcutRecorderTest, ARecorderGoneWhileListeningGivesTheShortcutsBack) {
    {
        ShortcutRecorder listening(alerts, hotKeys, chordText, {});
        listening.click();
        ASSERT_TRUE(hotKeys.isSuspended());
    }
    EXPECT_FALSE(hotKeys.isSuspended());
}

}  // namespace
}  // namespace quillbern
