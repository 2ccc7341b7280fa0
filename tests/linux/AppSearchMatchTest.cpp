// The application search's ranking with the program's own text rules (ICU).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/palettes/AppSearchIndex.h"
#include "linux/icu/IcuTextServices.h"

using namespace quillbern;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> ranked(std::string_view query, const std::vector<std::string>& names) {
    const IcuTextServices text;
    std::vector<InstalledApp> apps;
    for (const std::string& name : names)
        apps.push_back({name + ".id", name, "/usr/share/applications/" + name + ".desktop"});
    std::vector<std::string> found;
    for (const InstalledApp& app : AppSearchIndex::matches(text, query, apps, 8))
        found.push_back(app.name);
    return found;
}

}  // namespace

TEST(AppSearchMatch, IgnoresCaseAndDiacriticsOnBothSides) {
    EXPECT_THAT(ranked("cafe", {"Café Menu", "Decaf"}), ElementsAre("Café Menu"));
    EXPECT_THAT(ranked("CAFE", {"Café Menu"}), ElementsAre("Café Menu"));
    EXPECT_THAT(ranked("café", {"CAFE Menu"}), ElementsAre("CAFE Menu"));
    // "e" and a combining acute accent: the same letter as é.
    EXPECT_THAT(ranked("cafe", {"Cafe\xCC\x81 Menu"}), ElementsAre("Cafe\xCC\x81 Menu"));
    EXPECT_THAT(ranked("\xC3\x89"
                       "DITEUR",
                       {"Un éditeur"}),
                ElementsAre("Un éditeur"));
}

TEST(AppSearchMatch, JudgesTheCharacterBeforeTheHitByItsUnicodeProperties) {
    // An accented letter or a digit before the hit: inside a word; an underscore, a
    // hyphen, a dot or a space: a word start.
    EXPECT_THAT(ranked("app", {"éapp", "2app", "x_app", "x-app", "x.app", "x app", "app"}),
                ElementsAre("app", "x app", "x_app", "x-app", "x.app", "2app", "éapp"));
    // A combining mark on the letter before: still inside a word.
    EXPECT_THAT(ranked("note", {"e\xCC\x81note", "Notebook"}), ElementsAre("Notebook", "e\xCC\x81note"));
}

TEST(AppSearchMatch, TrimsSpacesOfEveryWidthAndTabsButNotLineBreaks) {
    EXPECT_THAT(ranked("\xC2\xA0\tquick n\xE2\x80\x83", {"Quick Notes"}), ElementsAre("Quick Notes"));
    EXPECT_THAT(ranked("\xC2\xA0\t ", {"Quick Notes"}), IsEmpty());
    EXPECT_THAT(ranked("quick\n", {"Quick Notes"}), IsEmpty());
}

TEST(AppSearchMatch, OnlyTheFirstOccurrenceCountsAndTheLimitFollowsTheSort) {
    EXPECT_THAT(ranked("note", {"Denote Notes", "Notenote"}), ElementsAre("Notenote", "Denote Notes"));
    std::vector<std::string> many;
    for (char c = 'a'; c <= 'i'; ++c)
        many.push_back(std::string(1, c) + "note");
    many.push_back("Note");
    EXPECT_THAT(ranked("note", many),
                ElementsAre("Note", "anote", "bnote", "cnote", "dnote", "enote", "fnote", "gnote"));
}
