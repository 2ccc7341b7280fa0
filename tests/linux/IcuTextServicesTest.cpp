#include <gtest/gtest.h>

#include "linux/icu/IcuTextServices.h"

using namespace quillbern;

TEST(IcuTextServices, ComparesWithFullCaseFolding) {
    const IcuTextServices text;
    EXPECT_TRUE(text.equalsIgnoringCase("Work", "WORK"));
    EXPECT_TRUE(text.equalsIgnoringCase("Ärger", "ärger"));
    EXPECT_TRUE(text.equalsIgnoringCase("Straße", "STRASSE"));
    EXPECT_TRUE(text.equalsIgnoringCase("ΣΟΦΙΑ", "σοφια"));
    EXPECT_FALSE(text.equalsIgnoringCase("Arger", "Ärger")) << "accents count";
    EXPECT_FALSE(text.equalsIgnoringCase("Work", "Work "));
    EXPECT_TRUE(text.equalsIgnoringCase("", ""));
}

TEST(IcuTextServices, TrimsTabsAndEverySpaceSeparatorButNotLineBreaks) {
    const IcuTextServices text;
    EXPECT_EQ(text.trimmingHorizontalSpace(" \t\xC2\xA0"
                                           "Dock 2\xE3\x80\x80\xE2\x80\x89 "),
              "Dock 2");
    EXPECT_EQ(text.trimmingHorizontalSpace("\nDock\n"), "\nDock\n");
    EXPECT_EQ(text.trimmingHorizontalSpace("  a  b  "), "a  b");
    EXPECT_EQ(text.trimmingHorizontalSpace(" \t "), "");
    EXPECT_EQ(text.trimmingHorizontalSpace("Café"), "Café");
}

TEST(IcuTextServices, UppercasesTheFirstCharacterOnlyWhenItShowsOnItsOwn) {
    const IcuTextServices text;
    EXPECT_EQ(text.uppercasedFirstCharacter("a"), "A");
    EXPECT_EQ(text.uppercasedFirstCharacter("ab"), "A");
    EXPECT_EQ(text.uppercasedFirstCharacter("é"), "É");
    EXPECT_EQ(text.uppercasedFirstCharacter("i"), "I") << "the same in every locale";
    EXPECT_EQ(text.uppercasedFirstCharacter("ß"), "SS");
    EXPECT_EQ(text.uppercasedFirstCharacter("1"), "1");
    EXPECT_EQ(text.uppercasedFirstCharacter("^"), "^");
    EXPECT_EQ(text.uppercasedFirstCharacter("😀"), "😀");
    for (const char* hidden : {" ", "\t", "\n", "\x01", "\x7F", "\xCC\x81", "\xC2\xA0", "\xE2\x80\xA8", "", "\xFF"})
        EXPECT_FALSE(text.uppercasedFirstCharacter(hidden)) << hidden;
}
