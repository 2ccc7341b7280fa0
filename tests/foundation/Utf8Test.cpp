#include <gtest/gtest.h>

#include "core/foundation/Utf8.h"

using namespace quillbern;

TEST(Utf8, AcceptsWellFormedTextOfEveryLength) {
    for (const char* text : {"", "Dock 1", "Caf\xC3\xA9", "\xE2\x80\x9CQuoted\xE2\x80\x9D", "\xF0\x9F\x93\x81",
                             "\xED\x9F\xBF", "\xEE\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(isValidUtf8(text)) << text;
    }
}

TEST(Utf8, RefusesStrayTruncatedOverlongSurrogateAndOutOfRangeSequences) {
    for (const char* text :
         {"\x80", "Caf\xE9", "\xC3", "\xE2\x80", "\xF0\x9F\x93", "\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF",
          "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\xC3\x28"}) {
        EXPECT_FALSE(isValidUtf8(text)) << testing::PrintToString(text);
    }
}

TEST(Utf8, ReplacesEachBrokenSequenceWithOneReplacementCharacter) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(replacingInvalidUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(replacingInvalidUtf8("Caf\xE9"), "Caf" + r);
    EXPECT_EQ(replacingInvalidUtf8("\xE2\x80(x)"), r + "(x)") << "a cut sequence is one character";
    EXPECT_EQ(replacingInvalidUtf8("\xF0\x9F\x93"), r);
    EXPECT_EQ(replacingInvalidUtf8("\xC0\xAF"), r + r) << "an overlong lead and its stray continuation";
    EXPECT_EQ(replacingInvalidUtf8("\xED\xA0\x80"), r + r + r) << "a surrogate is no start of a sequence";
    EXPECT_EQ(replacingInvalidUtf8("a\xFF\xFE"
                                   "b"),
              "a" + r + r + "b");
    EXPECT_EQ(replacingInvalidUtf8(""), "");
}
