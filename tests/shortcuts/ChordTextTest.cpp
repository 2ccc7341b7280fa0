#include <gtest/gtest.h>

#include "core/shortcuts/ChordText.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimLocalizer.h"
#include "sim/SimTextServices.h"

using namespace quillbern;

namespace {

class ChordTextTest : public ::testing::Test {
protected:
    SimKeyboardLayout layout;
    SimTextServices textServices;
    ChordText text{layout, textServices};
};

}  // namespace

TEST_F(ChordTextTest, ModifiersReadAsLinuxDesktopsWriteThemInCtrlAltShiftSuperOrder) {
    EXPECT_EQ(text.display({0, 0x1100}), "Ctrl+Super+A");
    EXPECT_EQ(text.display({20, 0x0300}), "Shift+Super+3");
    EXPECT_EQ(text.display({0, 0x1B00}), "Ctrl+Alt+Shift+Super+A");
    EXPECT_EQ(text.display({49, 0x1B00}), "Ctrl+Alt+Shift+Super+Space");
    EXPECT_EQ(text.display({53, 0x0900}), "Alt+Super+Escape");
    EXPECT_EQ(text.display({0, 0}), "A");
    EXPECT_EQ(text.display({0, 0x1500}), "Ctrl+Super+A") << "caps lock (0x0400) is not shown";
}

TEST_F(ChordTextTest, KeyLabelsFollowTheLayoutInForceAtEachCall) {
    EXPECT_EQ(text.keyLabel(0), "A");
    EXPECT_EQ(text.keyLabel(19), "2");
    layout.setLayout(SimKeyboardLayout::Layout::french);
    EXPECT_EQ(text.keyLabel(0), "Q");
    EXPECT_EQ(text.keyLabel(19), "É") << "upper case beyond ASCII";
    EXPECT_EQ(text.keyLabel(33), "^") << "a dead key shows its own character";
    EXPECT_EQ(text.display({12, 0x1100}), "Ctrl+Super+A");

    // Named keys look the same under every layout, and without one.
    for (const auto which :
         {SimKeyboardLayout::Layout::us, SimKeyboardLayout::Layout::french, SimKeyboardLayout::Layout::none}) {
        layout.setLayout(which);
        EXPECT_EQ(text.keyLabel(49), "Space");
        EXPECT_EQ(text.keyLabel(36), "Enter");
        EXPECT_EQ(text.keyLabel(48), "Tab");
        EXPECT_EQ(text.keyLabel(51), "Backspace");
        EXPECT_EQ(text.keyLabel(117), "Delete");
        EXPECT_EQ(text.keyLabel(123), "Left");
        EXPECT_EQ(text.keyLabel(126), "Up");
        EXPECT_EQ(text.keyLabel(115), "Home");
        EXPECT_EQ(text.keyLabel(121), "Page Down");
        EXPECT_EQ(text.keyLabel(122), "F1");
        EXPECT_EQ(text.keyLabel(99), "F3");
        EXPECT_EQ(text.keyLabel(111), "F12");
    }
}

TEST_F(ChordTextTest, KeysThatTypeNothingShownHaveNoLabelAndAChordHoldingOneShowsAQuestionMark) {
    layout.setTranslation(10, {KeyTranslation::Status::ok, " "});
    layout.setTranslation(11, {KeyTranslation::Status::ok, "\x01"});
    layout.setTranslation(12, {KeyTranslation::Status::ok, "\xCC\x81"});  // a combining acute accent
    layout.setTranslation(13, {KeyTranslation::Status::ok, ""});
    layout.setTranslation(14, {KeyTranslation::Status::failed, "x"});
    layout.setTranslation(15, {KeyTranslation::Status::ok, "\n"});
    for (const KeyCode key : {10, 11, 12, 13, 14, 15})
        EXPECT_EQ(text.keyLabel(key), std::nullopt) << key;
    EXPECT_EQ(text.keyLabel(70000), std::nullopt) << "no layout knows codes beyond 16 bits";
    EXPECT_EQ(text.display({11, 0x1100}), "Ctrl+Super+?");
    // Keys of the keypad, the function keys past F12 and the locks have names of their own.
    EXPECT_EQ(text.display({89, 0x1800}), "Ctrl+Alt+Keypad 7");
    EXPECT_EQ(text.display({105, 0x1800}), "Ctrl+Alt+F13");
    EXPECT_EQ(text.display({71, 0x1800}), "Ctrl+Alt+Num Lock");
    EXPECT_EQ(text.display({114, 0x1800}), "Ctrl+Alt+Insert");

    layout.setLayout(SimKeyboardLayout::Layout::none);
    EXPECT_EQ(text.keyLabel(0), "?");
    EXPECT_EQ(text.display({0, 0x1100}), "Ctrl+Super+?");
}

TEST_F(ChordTextTest, NamesAreInTheInterfaceLanguagesWordsTheChordItselfIsNot) {
    SimLocalizer german;
    german.addInContext("keyboard key", "Ctrl", "Strg");
    german.addInContext("keyboard key", "Shift", "Umschalt");
    german.addInContext("keyboard key", "Space", "Leertaste");
    german.add("Space", "Weltraum");
    EXPECT_EQ(text.display({49, 0x1300}), "Strg+Umschalt+Super+Leertaste");
    EXPECT_EQ(text.display({0, 0x1100}), "Strg+Super+A");
    EXPECT_EQ(text.keyLabel(111), "F12");
}
