#include <gmock/gmock.h>
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

TEST(IcuTextServices, CollatesIgnoringCaseButNotAccents) {
    const IcuTextServices text;
    EXPECT_EQ(text.compare("Work", "work"), 0);
    EXPECT_LT(text.compare("apple", "Banana"), 0) << "not by bytes, where upper case comes first";
    EXPECT_LT(text.compare("Banana", "cherry"), 0);
    EXPECT_NE(text.compare("resume", "résumé"), 0);
    EXPECT_LT(text.compare("file10", "file2"), 0) << "digits are characters, not numbers";
    EXPECT_GT(text.compare("b", ""), 0);
}

TEST(IcuTextServices, FoldsCaseAndDiacriticsAndKnowsWhereEachByteCameFrom) {
    const IcuTextServices text;
    FoldedText folded;
    text.fold("Café", folded);
    EXPECT_EQ(folded.folded, "cafe");
    EXPECT_THAT(folded.originalOffsets, ::testing::ElementsAre(0u, 1u, 2u, 3u));
    text.fold(
        "Stra\xC3\x9F"
        "e",
        folded);
    EXPECT_EQ(folded.folded, "strasse");
    EXPECT_THAT(folded.originalOffsets, ::testing::ElementsAre(0u, 1u, 2u, 3u, 4u, 4u, 6u));
    text.fold("e\xCC\x81t\xC3\x89", folded);
    EXPECT_EQ(folded.folded, "ete") << "a decomposed accent goes too";
    EXPECT_THAT(folded.originalOffsets, ::testing::ElementsAre(0u, 3u, 4u));
    text.fold("\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x99\xCE\x91", folded);
    EXPECT_EQ(folded.folded, "\xCF\x83\xCE\xBF\xCF\x86\xCE\xB9\xCE\xB1");
    text.fold("\xC4\xB0stanbul", folded);
    EXPECT_EQ(folded.folded, "istanbul") << "the same in every locale";
}

TEST(IcuTextServices, TellsLettersAndNumbersBeforeAPlace) {
    const IcuTextServices text;
    EXPECT_TRUE(text.isLetterOrNumberBefore("2app", 1));
    EXPECT_TRUE(text.isLetterOrNumberBefore("\xC3\xA9t", 2));
    EXPECT_TRUE(text.isLetterOrNumberBefore("e\xCC\x81t", 3)) << "the base of a decomposed letter";
    EXPECT_TRUE(text.isLetterOrNumberBefore("\xE6\x97\xA5\xE6\x9C\xAC", 3));
    EXPECT_TRUE(text.isLetterOrNumberBefore("\xE2\x85\xA0x", 3)) << "a Roman numeral is a number";
    for (const char* word : {" x", "_x", "-x", ".x", "\xE2\x80\x94x", "\xF0\x9F\x98\x80x"})
        EXPECT_FALSE(text.isLetterOrNumberBefore(word, std::string_view(word).size() - 1)) << word;
    EXPECT_FALSE(text.isLetterOrNumberBefore("abc", 0));
}

TEST(IcuTextServices, LowercasesTheWholeTextTheSameInEveryLocale) {
    const IcuTextServices text;
    EXPECT_EQ(text.lowercased("Bottom"), "bottom");
    EXPECT_EQ(text.lowercased("ÄUSSERER RAND"), "äusserer rand");
    EXPECT_EQ(text.lowercased("ΟΔΟΣ ΣΟΦΙΑ"), "\u03bf\u03b4\u03bf\u03c2 \u03c3\u03bf\u03c6\u03b9\u03b1")
        << "a sigma at the end of a word is final";
    EXPECT_EQ(text.lowercased("I"), "i") << "no Turkish dotless i";
    EXPECT_EQ(text.lowercased("Gauche ⌃⌘1"), "gauche ⌃⌘1");
    EXPECT_EQ(text.lowercased(""), "");
}

TEST(IcuTextServices, RelativeDatesUseTheNamedFormWhereTheLanguageHasOne) {
    // The tests run in the C locale, whose dates are English.
    const IcuTextServices text;
    const WallTime now{1'700'000'000};
    EXPECT_EQ(text.formatRelative(now + -30 * 3600.0, now), "yesterday");
    EXPECT_EQ(text.formatRelative(now + -3 * 3600.0, now), "3 hours ago");
    EXPECT_EQ(text.formatRelative(now + 2 * 86'400.0, now), "in 2 days");
    EXPECT_EQ(text.formatRelative(now + -10.0, now), "10 seconds ago");
}

TEST(IcuTextServices, SecondsKeepTwoDecimalsAndTheirUnitAndDatesTheirYear) {
    const IcuTextServices text;
    EXPECT_EQ(text.formatSeconds(0.36), "0.36 sec");
    EXPECT_EQ(text.formatSeconds(0.6), "0.60 sec") << "never converted to milliseconds";
    EXPECT_THAT(text.formatDateAndTime(WallTime{1'800'000'000}), ::testing::HasSubstr("2027"));
}
