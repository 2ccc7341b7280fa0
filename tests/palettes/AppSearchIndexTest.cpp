// The installed applications the application search looks through: the scan, its refresh
// on a background thread, and the ranking of names on the simulation's text rules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/palettes/AppSearchIndex.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

InstalledApp app(std::string name, std::string id = {}) {
    if (id.empty()) id = name;
    return {id, std::move(name), "/apps/" + id + ".app"};
}

void install(SimWorld& world, const std::string& id, const std::string& name) {
    world.catalog.install("/apps/" + id + ".app", AppInfo{id, std::nullopt, std::nullopt, name});
}

std::vector<std::string> names(const std::vector<InstalledApp>& apps) {
    std::vector<std::string> out;
    for (const InstalledApp& a : apps)
        out.push_back(a.name);
    return out;
}

std::vector<std::string> ranked(std::string_view query, const std::vector<InstalledApp>& apps, std::size_t limit = 8) {
    const SimTextServices text;
    return names(AppSearchIndex::matches(text, query, apps, limit));
}

class AppSearchIndexTest : public ::testing::Test {
protected:
    AppSearchIndexTest() {
        changes_ = index.changed.connect([this] { ++changes; });
    }
    std::vector<std::string> jobs() const { return world.threads.backgroundJobs(); }

    SimWorld world;
    std::shared_ptr<const InstalledAppsScanner> scanner =
        std::make_shared<const InstalledAppsScanner>(world.catalog, world.text);
    AppSearchIndex index{{.threads = world.threads, .scanner = scanner, .mainLoop = world.mainLoop}};
    int changes = 0;

private:
    Subscription changes_;
};

TEST_F(AppSearchIndexTest, RefreshesInTheBackgroundOnceForCallsThatComeWhileItRuns) {
    install(world, "mail", "Mail");
    index.refreshSoon();
    index.refreshSoon();
    EXPECT_THAT(jobs(), ElementsAre("quillbern.scan"));
    EXPECT_TRUE(index.apps().empty());

    world.threads.runBackgroundJobs();
    EXPECT_TRUE(index.apps().empty()) << "the list is swapped on the main loop";
    world.runUntilIdle();
    EXPECT_THAT(names(index.apps()), ElementsAre("Mail"));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(index.isRefreshing());

    index.refreshSoon();
    EXPECT_EQ(jobs().size(), 1u) << "after an answer, a refresh scans again";
}

TEST_F(AppSearchIndexTest, AnEqualListIsNotToldAndADifferentOneIs) {
    install(world, "mail", "Mail");
    index.refreshSoon();
    world.threads.runBackgroundJobs();
    world.runUntilIdle();
    ASSERT_EQ(changes, 1);

    index.refreshSoon();
    world.threads.runBackgroundJobs();
    world.runUntilIdle();
    EXPECT_EQ(changes, 1);

    install(world, "xterm", "XTerm");
    index.refreshSoon();
    world.threads.runBackgroundJobs();
    world.runUntilIdle();
    EXPECT_EQ(changes, 2);
    EXPECT_THAT(names(index.apps()), ElementsAre("Mail", "XTerm"));
}

TEST_F(AppSearchIndexTest, AScanThatHangsHoldsEveryRefreshAndAskerBackWithoutStartingAnother) {
    install(world, "mail", "Mail");
    index.refreshSoon();
    world.advance(10 * 60);
    index.refreshSoon();
    // Another asker of the scanner, as the dock editor is.
    std::vector<InstalledApp> editors;
    scanner->scanInBackground(world.threads, [&editors](std::vector<InstalledApp> apps) { editors = std::move(apps); });
    EXPECT_EQ(jobs().size(), 1u) << "another scan would wait on the same stalled mount";

    world.threads.runBackgroundJob(0);
    world.runUntilIdle();
    EXPECT_THAT(names(index.apps()), ElementsAre("Mail"));
    EXPECT_THAT(names(editors), ElementsAre("Mail"));
    EXPECT_EQ(changes, 1);
    index.refreshSoon();
    EXPECT_EQ(jobs().size(), 1u) << "a request after the answer scans again";
}

TEST_F(AppSearchIndexTest, AScanEndsOnItsOwnScannerAfterTheIndexWentAndItsAnswerIsDropped) {
    // An entry whose name is not UTF-8: the scan's end says so in the log.
    install(world, "cafe", "Caf\xe9");
    auto gone = std::make_unique<AppSearchIndex>(
        AppSearchIndex::Ports{.threads = world.threads,
                              .scanner = std::make_shared<const InstalledAppsScanner>(world.catalog, world.text),
                              .mainLoop = world.mainLoop});
    gone->refreshSoon();
    gone.reset();
    world.threads.runBackgroundJobs();
    world.runUntilIdle();
    EXPECT_TRUE(world.log.contains("1 application entry was left out"));
}

TEST(AppSearchMatchTest, RanksTheStartThenWordStartsThenInsideWordsThenByName) {
    EXPECT_THAT(ranked("note", {app("Footnote"), app("Quick Notes"), app("Notebook"), app("My-Notes")}),
                ElementsAre("Notebook", "My-Notes", "Quick Notes", "Footnote"));
    // After a letter or a digit the hit is inside a word; after punctuation, an underscore
    // or a space it starts one.
    EXPECT_THAT(ranked("app", {app("2app"), app("x_app"), app("my.app"), app("big app"), app("soapp")}),
                ElementsAre("big app", "my.app", "x_app", "2app", "soapp"));
}

TEST(AppSearchMatchTest, SearchesTheNameOnlyCaseBlindAndFirstOccurrenceOnly) {
    EXPECT_THAT(ranked("MAIL", {app("Thunderbird", "mail.thunderbird"), app("Mailspring")}), ElementsAre("Mailspring"));
    EXPECT_THAT(ranked("note", {app("Denote Notes"), app("Notenote")}), ElementsAre("Notenote", "Denote Notes"));
}

TEST(AppSearchMatchTest, BlankQueriesMatchNothingAndOnlyHorizontalSpaceIsTrimmed) {
    const std::vector<InstalledApp> apps{app("Quick Notes"), app("Notes")};
    EXPECT_THAT(ranked("", apps), IsEmpty());
    EXPECT_THAT(ranked(" \t ", apps), IsEmpty());
    EXPECT_THAT(ranked("\xC2\xA0quick n\t", apps), ElementsAre("Quick Notes")) << "a no-break space is trimmed";
    EXPECT_THAT(ranked("notes\n", apps), IsEmpty()) << "a line break is kept, and no name holds it";
}

TEST(AppSearchMatchTest, TheLimitKeepsTheBestAfterSortingAndEqualNamesKeepTheirOrder) {
    std::vector<InstalledApp> apps;
    for (int i = 0; i < 9; ++i)
        apps.push_back(app("x" + std::to_string(9 - i) + "note", "inside" + std::to_string(i)));
    apps.push_back(app("Note taker"));
    EXPECT_THAT(ranked("note", apps),
                ElementsAre("Note taker", "x1note", "x2note", "x3note", "x4note", "x5note", "x6note", "x7note"));
    EXPECT_THAT(ranked("note", apps, 0), IsEmpty());

    const SimTextServices text;
    const std::vector<InstalledApp> twins{app("Editor", "b.editor"), app("Editor", "a.editor")};
    const std::vector<InstalledApp> found = AppSearchIndex::matches(text, "edit", twins, 8);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].appId, "b.editor");
    EXPECT_EQ(found[1].appId, "a.editor");
}

}  // namespace
}  // namespace quillbern
