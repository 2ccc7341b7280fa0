#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/palettes/FileSearchEngine.h"
#include "sim/SimTextServices.h"

using namespace quillbern;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

FileEntry file(std::string name, std::optional<double> day = std::nullopt) {
    FileEntry entry;
    entry.path = "/p/" + name;
    entry.name = name;
    if (day) entry.modified = WallTime{*day * 86'400};
    return entry;
}

std::vector<std::string> ranked(std::string_view query, const std::vector<FileEntry>& entries, std::size_t limit = 8) {
    const SimTextServices text;
    std::vector<const FileEntry*> pool;
    for (const FileEntry& entry : entries)
        pool.push_back(&entry);
    std::vector<std::string> paths;
    for (const FileEntry& entry : FileSearchEngine::matches(text, query, pool, limit))
        paths.push_back(entry.path.substr(3));
    return paths;
}

}  // namespace

TEST(FileSearchMatch, TheNameStartFirstThenWordStartsThenInsideWords) {
    const std::vector<FileEntry> entries{file("Footnote"), file("Quick Notes"), file("Notebook"), file("My-Notes"),
                                         file("budget.ods")};
    EXPECT_THAT(ranked("note", entries), ElementsAre("Notebook", "My-Notes", "Quick Notes", "Footnote"));
}

TEST(FileSearchMatch, OnlyTheFirstOccurrenceCountsAndADigitBeforeIsInsideAWord) {
    const std::vector<FileEntry> entries{file("Denote Notes"), file("Notenote"), file("2app"),
                                         file("x_app"),        file("x.app"),    file("x app")};
    EXPECT_THAT(ranked("note", entries), ElementsAre("Notenote", "Denote Notes"));
    EXPECT_THAT(ranked("app", entries), ElementsAre("x app", "x.app", "x_app", "2app"))
        << "word starts by name, then the hit inside a word";
}

TEST(FileSearchMatch, EqualRanksGoNewestFirstThenByNameThenInPoolOrder) {
    const std::vector<FileEntry> entries{file("plan b", 1), file("plan c"),    file("plan a", 1),
                                         file("Plan A", 1), file("plan z", 5), file("plan d")};
    EXPECT_THAT(ranked("plan", entries), ElementsAre("plan z", "plan a", "Plan A", "plan b", "plan c", "plan d"))
        << "undated after dated; names alike without case keep the pool's order";
}

TEST(FileSearchMatch, TheLimitTakesTheBestAfterRankingEverything) {
    std::vector<FileEntry> entries;
    for (int i = 0; i < 10; ++i)
        entries.push_back(file("xreport" + std::to_string(i), 20 - i));
    entries.push_back(file("report old", 0));
    EXPECT_THAT(ranked("report", entries), ElementsAre("report old", "xreport0", "xreport1", "xreport2", "xreport3",
                                                       "xreport4", "xreport5", "xreport6"));
    EXPECT_THAT(ranked("report", entries, 0), IsEmpty());
}

TEST(FileSearchMatch, TheQueryIsTrimmedAndFoldedButABlankOneFindsNothing) {
    const std::vector<FileEntry> entries{file("Café Menu"), file("Quick Notes")};
    EXPECT_THAT(ranked("  \tquick n ", entries), ElementsAre("Quick Notes"));
    EXPECT_THAT(ranked("CAFE", entries), ElementsAre("Café Menu"));
    EXPECT_THAT(ranked("cafe\xCC\x81", entries), ElementsAre("Café Menu")) << "a decomposed accent";
    EXPECT_THAT(ranked(" \t ", entries), IsEmpty());
    EXPECT_THAT(ranked("", entries), IsEmpty());
    EXPECT_THAT(ranked("quick\n", entries), IsEmpty()) << "line breaks are part of the query";
}

TEST(FileSearchMatch, AnAccentedLetterBeforeTheHitIsPartOfTheWord) {
    const std::vector<FileEntry> entries{file("éte"), file("e\xCC\x81te"), file("—te")};
    EXPECT_THAT(ranked("te", entries), ElementsAre("—te", "e\xCC\x81te", "éte"));
}
