#include <gtest/gtest.h>

#include "core/shortcuts/ChordText.h"
#include "sim/SimKeyboardLayout.h"
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

TEST_F(ChordTextTest, ModifierGlyphsAlwaysStandInControlOptionShiftCommandOrder) {
    EXPECT_EQ(text.display({0, 0x1100}), "⌃⌘A");
    EXPECT_EQ(text.display({20, 0x0300}), "⇧⌘3");
    EXPECT_EQ(text.display({0, 0x1B00}), "⌃⌥⇧⌘A");
    EXPECT_EQ(text.display({49, 0x1B00}), "⌃⌥⇧⌘Space");
    EXPECT_EQ(text.display({53, 0x0900}), "⌥⌘⎋");
    EXPECT_EQ(text.display({0, 0}), "A");
    EXPECT_EQ(text.display({0, 0x1500}), "⌃⌘A") << "caps lock (0x0400) is not shown";
}

TEST_F(ChordTextTest, KeyLabelsFollowTheLayoutInForceAtEachCall) {
    EXPECT_EQ(text.keyLabel(0), "A");
    EXPECT_EQ(text.keyLabel(19), "2");
    layout.setLayout(SimKeyboardLayout::Layout::french);
    EXPECT_EQ(text.keyLabel(0), "Q");
    EXPECT_EQ(text.keyLabel(19), "É") << "upper case beyond ASCII";
    EXPECT_EQ(text.keyLabel(33), "^") << "a dead key shows its own character";
    EXPECT_EQ(text.display({12, 0x1100}), "⌃⌘A");

    // Named keys look the same under every layout, and without one.
    for (const auto which :
         {SimKeyboardLayout::Layout::us, SimKeyboardLayout::Layout::french, SimKeyboardLayout::Layout::none}) {
        layout.setLayout(which);
        EXPECT_EQ(text.keyLabel(49), "Space");
        EXPECT_EQ(text.keyLabel(36), "↩");
        EXPECT_EQ(text.keyLabel(48), "⇥");
        EXPECT_EQ(text.keyLabel(51), "⌫");
        EXPECT_EQ(text.keyLabel(117), "⌦");
        EXPECT_EQ(text.keyLabel(123), "←");
        EXPECT_EQ(text.keyLabel(126), "↑");
        EXPECT_EQ(text.keyLabel(115), "↖");
        EXPECT_EQ(text.keyLabel(121), "⇟");
        EXPECT_EQ(text.keyLabel(122), "F1");
        EXPECT_EQ(text.keyLabel(99), "F3");
        EXPECT_EQ(text.keyLabel(111), "F12");
    }
}

TEST_F(ChordTextTest, KeysThatTypeNothingShownAloneAreNamedByTheirCode) {
    layout.setTranslation(10, {KeyTranslation::Status::ok, " "});
    layout.setTranslation(11, {KeyTranslation::Status::ok, "\x01"});
    layout.setTranslation(12, {KeyTranslation::Status::ok, "\xCC\x81"});  // a combining acute accent
    layout.setTranslation(13, {KeyTranslation::Status::ok, ""});
    layout.setTranslation(14, {KeyTranslation::Status::failed, "x"});
    layout.setTranslation(15, {KeyTranslation::Status::ok, "\n"});
    for (const KeyCode key : {10, 11, 12, 13, 14, 15})
        EXPECT_EQ(text.keyLabel(key), "key " + std::to_string(key));
    EXPECT_EQ(text.keyLabel(70000), "key 70000") << "no layout knows codes beyond 16 bits";
    EXPECT_EQ(text.display({11, 0x1100}), "⌃⌘key 11");

    layout.setLayout(SimKeyboardLayout::Layout::none);
    EXPECT_EQ(text.keyLabel(0), "?");
    EXPECT_EQ(text.display({0, 0x1100}), "⌃⌘?");
}
