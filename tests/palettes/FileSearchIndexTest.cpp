#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileSearchWorld.h"

using namespace quillbern;
using namespace quillbern::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Builds the index and runs every read; none when it never arrived.
std::optional<std::vector<FileEntry>> indexOf(FileSearchWorld& w, std::vector<Path> roots, CancelToken token = {}) {
    std::optional<std::vector<FileEntry>> index;
    w.engine.buildIndex(std::move(roots), token, [&](std::vector<FileEntry> entries) { index = std::move(entries); });
    w.settle();
    return index;
}

}  // namespace

TEST(FileSearchIndex, GoesBreadthFirstFourLevelsDownWithoutRootsThemselves) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/r");
    files.addDirectory("/r/a");
    files.addFile("/r/top.txt", day(1));
    files.addDirectory("/r/a/b");
    files.addFile("/r/a/one.txt", day(1));
    files.addDirectory("/r/a/b/c");
    files.addDirectory("/r/a/b/c/d");
    files.addFile("/r/a/b/c/d/five.txt");

    const auto index = indexOf(w, {"/r"});
    ASSERT_TRUE(index);
    EXPECT_THAT(pathsOf(*index), ElementsAre("/r/a", "/r/top.txt", "/r/a/b", "/r/a/one.txt", "/r/a/b/c", "/r/a/b/c/d"));
    EXPECT_THAT(w.world.files.listings(), ElementsAre("/r", "/r/a", "/r/a/b", "/r/a/b/c"))
        << "a folder four levels down is indexed, never listed";
}

TEST(FileSearchIndex, NoiseFoldersInAnyCaseAndPackagesAreIndexedButNeverEntered) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/r");
    files.addDirectory("/r/node_modules");
    files.addFile("/r/node_modules/dep.js");
    files.addDirectory("/r/Node_Modules");
    files.addFile("/r/Node_Modules/dep.js");
    files.addDirectory("/r/sub");
    files.addDirectory("/r/sub/NODE_MODULES");
    files.addPackage("/r/Tool.app");
    files.addFile("/r/Tool.app/inside");
    files.addFile("/r/.hidden-file");
    files.setHidden("/r/.hidden-file");

    const auto index = indexOf(w, {"/r"});
    ASSERT_TRUE(index);
    EXPECT_THAT(pathsOf(*index),
                ElementsAre("/r/node_modules", "/r/Node_Modules", "/r/sub", "/r/Tool.app", "/r/sub/NODE_MODULES"));
    EXPECT_THAT(w.world.files.listings(), ElementsAre("/r", "/r/sub"));
}

TEST(FileSearchIndex, NestedRootsAreListedOnceAndTheirEntriesIndexedOnce) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/docs");
    files.addDirectory("/docs/pinned");
    files.addFile("/docs/pinned/p.txt");
    files.addFile("/docs/d.txt");

    const auto index = indexOf(w, {"/docs", "/docs/pinned/", "/docs"});
    ASSERT_TRUE(index);
    EXPECT_THAT(pathsOf(*index), ElementsAre("/docs/pinned", "/docs/d.txt", "/docs/pinned/p.txt"));
    EXPECT_THAT(w.world.files.listings(), ElementsAre("/docs", "/docs/pinned"));
}

TEST(FileSearchIndex, UnreadableFoldersAreSkipped) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/r");
    files.addDirectory("/r/locked");
    files.setUnreadable("/r/locked");
    files.addFile("/r/locked/secret.txt");
    files.addDirectory("/r/open");
    files.addFile("/r/open/o.txt");

    const auto index = indexOf(w, {"/missing", "/r"});
    ASSERT_TRUE(index);
    EXPECT_THAT(pathsOf(*index), ElementsAre("/r/locked", "/r/open", "/r/open/o.txt"));
}

TEST(FileSearchIndex, TheCapIsExactEvenInTheMiddleOfAFolder) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/r");
    files.addDirectory("/r/a");
    files.addDirectory("/r/b");
    files.addDirectory("/r/c");
    for (int i = 0; i < 12'000; ++i)
        files.addFile("/r/a/" + std::to_string(i));
    for (int i = 0; i < 12'000; ++i)
        files.addFile("/r/b/" + std::to_string(i));

    const auto index = indexOf(w, {"/r"});
    ASSERT_TRUE(index);
    ASSERT_EQ(index->size(), FileSearchEngine::kIndexCap);
    EXPECT_EQ(index->back().path, "/r/b/7996") << "3 folders, all of a, then b up to the cap";
    EXPECT_THAT(w.world.files.listings(), ElementsAre("/r", "/r/a", "/r/b")) << "c is never listed";
}

TEST(FileSearchIndex, ACancelledBuildStopsReadingAndDeliversNothing) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/r");
    files.addDirectory("/r/a");
    files.addDirectory("/r/b");
    const CancelToken token;
    bool delivered = false;

    w.engine.buildIndex({"/r"}, token, [&](std::vector<FileEntry>) { delivered = true; });
    ASSERT_TRUE(w.readNext());
    token.cancel();
    w.settle();
    EXPECT_FALSE(delivered);
    EXPECT_THAT(w.world.files.listings(), ElementsAre("/r"));
}

TEST(FileSearchIndex, ALevelListingWaitsBehindOneFolderReadAtMost) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/r");
    for (const char* name : {"a", "b", "c", "d"})
        files.addDirectory(std::string("/r/") + name);
    files.addDirectory("/elsewhere");
    bool indexed = false;
    std::optional<FileSearchEngine::Listing> level;

    w.engine.buildIndex({"/r"}, {}, [&](std::vector<FileEntry>) { indexed = true; });
    ASSERT_TRUE(w.readNext());
    ASSERT_TRUE(w.readNext());
    EXPECT_EQ(w.pendingReads(), 1u) << "the build asks for one folder at a time";

    w.engine.listLevel("/elsewhere", {}, [&](FileSearchEngine::Listing listing) { level = std::move(listing); });
    ASSERT_TRUE(w.readNext());
    EXPECT_FALSE(level) << "behind the one read already waiting";
    ASSERT_TRUE(w.readNext());
    EXPECT_TRUE(level);
    EXPECT_FALSE(indexed);
    w.settle();
    EXPECT_TRUE(indexed);
}

TEST(FileSearchIndex, NoRootsGiveAnEmptyIndexOnALaterTurn) {
    FileSearchWorld w;
    std::optional<std::vector<FileEntry>> index;
    w.engine.buildIndex({}, {}, [&](std::vector<FileEntry> entries) { index = std::move(entries); });
    EXPECT_FALSE(index);
    w.world.runUntilIdle();
    ASSERT_TRUE(index);
    EXPECT_THAT(*index, IsEmpty());
}
