#include <gtest/gtest.h>

#include "core/model/DockName.h"

using namespace quillbern;

TEST(DockName, ANameIsOneLineReadInTheOrderItWasTyped) {
    EXPECT_EQ(oneLineName("Line one\nLine two\tTab"), "Line one Line two Tab");
    EXPECT_EQ(oneLineName("\r\nWork\r\n\r\n"), "Work") << "a run of breaks is one space, none at the ends";
    EXPECT_EQ(oneLineName("A \n B"), "A  B") << "the spaces typed stay";
    EXPECT_EQ(oneLineName("Bell\aand\x7F"
                          "DEL\xC2\x85"
                          "next\xE2\x80\xA8line"),
              "BellandDEL next line");
    // Right-to-left override, embeddings and isolates: "evil" stays "evil".
    EXPECT_EQ(oneLineName("\xE2\x80\xAE"
                          "evil\xE2\x80\xAC"),
              "evil");
    EXPECT_EQ(oneLineName("\xE2\x80\xAA"
                          "a\xE2\x81\xA6"
                          "b\xE2\x81\xA9"),
              "ab");
    // Text of every script stays, right-to-left letters and their marks too.
    EXPECT_EQ(oneLineName("Café \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\xE2\x80\x8F 🚀"),
              "Café \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\xE2\x80\x8F 🚀");
}

TEST(DockName, ALongNameInAMenuOrASentenceKeepsItsStartAndItsEnd) {
    EXPECT_EQ(nameInText("Work"), "Work");
    const std::string forty(kLongestNameInText, 'a');
    EXPECT_EQ(nameInText(forty), forty);
    const std::string shown = nameInText("Start" + std::string(5000, 'x') + "End");
    EXPECT_EQ(shown, "Start" + std::string(15, 'x') + "…" + std::string(16, 'x') + "End");
    // Characters of several bytes are never cut.
    std::string wide;
    for (int i = 0; i < 60; ++i)
        wide += "é";
    std::string half;
    for (int i = 0; i < 20; ++i)
        half += "é";
    EXPECT_EQ(nameInText(wide), half + "…" + half.substr(2));
}
