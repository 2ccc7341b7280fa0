#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileSearchWorld.h"

using namespace quillbern;
using namespace quillbern::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

FileSearchEngine::Listing read(FileSearchWorld& w, const Path& folder) {
    return FileSearchEngine::readLevel(w.world.files, w.world.text, folder);
}

}  // namespace

TEST(FileSearchEngine, ListsFoldersByNameThenFilesNewestFirstWithUndatedItemsLast) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/f");
    files.addFile("/f/old.txt", day(1));
    files.addDirectory("/f/beta");
    files.addFile("/f/undated.txt");
    files.addFile("/f/new.txt", day(3));
    files.addDirectory("/f/Alpha");
    files.addFile("/f/gone.txt", day(9));
    files.setFactsUnreadable("/f/gone.txt");
    files.addDirectory("/f/gamma");
    files.addFile("/f/mid.txt", day(2));

    const auto listing = read(w, "/f");
    ASSERT_TRUE(listing);
    EXPECT_THAT(namesOf(*listing),
                ElementsAre("Alpha", "beta", "gamma", "new.txt", "mid.txt", "old.txt", "undated.txt", "gone.txt"));
    EXPECT_FALSE(listing->back().isFolder) << "an item whose facts are gone is a file";
    EXPECT_FALSE(listing->back().modified);
    EXPECT_EQ(listing->front().path, "/f/Alpha");
}

TEST(FileSearchEngine, ItemsThatRankAlikeKeepTheSystemsOrder) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/f");
    files.addFile("/f/b.txt", day(1));
    files.addDirectory("/f/docs");
    files.addFile("/f/a.txt", day(1));
    files.addDirectory("/f/Docs");
    files.addFile("/f/c.txt");
    files.addFile("/f/d.txt");

    EXPECT_THAT(namesOf(*read(w, "/f")), ElementsAre("docs", "Docs", "b.txt", "a.txt", "c.txt", "d.txt"));
}

TEST(FileSearchEngine, PackagesAreFilesHiddenItemsAbsentAndShownNamesPreferred) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/f");
    files.addPackage("/f/Tool.app", day(2));
    files.addFile("/f/.secret", day(5));
    files.setHidden("/f/.secret");
    files.addDirectory("/f/shown-as", "Shown Name");
    files.addFile("/f/plain.txt", day(1));

    const auto listing = read(w, "/f");
    ASSERT_TRUE(listing);
    EXPECT_THAT(namesOf(*listing), ElementsAre("Shown Name", "Tool.app", "plain.txt"));
    EXPECT_FALSE((*listing)[1].isFolder);
    EXPECT_EQ((*listing)[0].path, "/f/shown-as");
}

TEST(FileSearchEngine, ANameThatIsNotUtf8KeepsItsBytesAsPathAndShowsReplacementCharacters) {
    FileSearchWorld w;
    w.world.files.addDirectory("/f");
    w.world.files.addFile("/f/caf\xE9-\xC3.txt", day(1));

    const auto listing = read(w, "/f");
    ASSERT_EQ(listing->size(), 1u);
    EXPECT_EQ((*listing)[0].path, "/f/caf\xE9-\xC3.txt");
    EXPECT_EQ((*listing)[0].name, "caf\xEF\xBF\xBD-\xEF\xBF\xBD.txt");
}

TEST(FileSearchEngine, AFolderThatCannotBeReadIsRefusedNotEmpty) {
    FileSearchWorld w;
    auto& files = w.world.files;
    files.addDirectory("/locked");
    files.setUnreadable("/locked");
    files.addFile("/file.txt");
    files.addDirectory("/empty");

    EXPECT_FALSE(read(w, "/locked"));
    EXPECT_FALSE(read(w, "/missing"));
    EXPECT_FALSE(read(w, "/file.txt"));
    ASSERT_TRUE(read(w, "/empty"));
    EXPECT_THAT(*read(w, "/empty"), IsEmpty());
}

TEST(FileSearchEngine, EachListingIsOneItemOfTheQueueDeliveredOnTheMainLoop) {
    FileSearchWorld w;
    w.world.files.addDirectory("/a");
    w.world.files.addFile("/a/x");
    w.world.files.addDirectory("/b");
    std::vector<std::string> delivered;
    const auto note = [&](std::string name) {
        return [&delivered, name](FileSearchEngine::Listing listing) {
            delivered.push_back(name + (listing ? ":" + std::to_string(listing->size()) : ":refused"));
        };
    };

    w.engine.listLevel("/a", {}, note("a"));
    w.engine.listLevel("/missing", {}, note("missing"));
    w.engine.listLevel("/b", {}, note("b"));
    EXPECT_THAT(w.world.threads.queueLabels(), ElementsAre("quillbern.files")) << "one queue, made once";
    EXPECT_EQ(w.pendingReads(), 3u);

    ASSERT_TRUE(w.io()->runNext());
    EXPECT_THAT(delivered, IsEmpty()) << "only on the main loop";
    w.world.runUntilIdle();
    EXPECT_THAT(delivered, ElementsAre("a:1"));
    w.settle();
    EXPECT_THAT(delivered, ElementsAre("a:1", "missing:refused", "b:0"));
}

TEST(FileSearchEngine, ACancelledListingIsNotReadOrNotDelivered) {
    FileSearchWorld w;
    w.world.files.addDirectory("/a");
    int deliveries = 0;

    const CancelToken beforeItsTurn;
    w.engine.listLevel("/a", beforeItsTurn, [&](FileSearchEngine::Listing) { ++deliveries; });
    beforeItsTurn.cancel();
    w.settle();
    EXPECT_THAT(w.world.files.listings(), IsEmpty());

    const CancelToken afterTheRead;
    w.engine.listLevel("/a", afterTheRead, [&](FileSearchEngine::Listing) { ++deliveries; });
    ASSERT_TRUE(w.io()->runNext());
    afterTheRead.cancel();
    w.world.runUntilIdle();
    EXPECT_EQ(w.world.files.listings().size(), 1u);
    EXPECT_EQ(deliveries, 0);
}

TEST(FileSearchEngine, WithoutItsThreadEveryFolderIsRefused) {
    FileSearchWorld w;
    w.world.threads.setRefusesStart(true);
    w.world.files.addDirectory("/a");
    std::optional<FileSearchEngine::Listing> delivered;
    w.engine.listLevel("/a", {}, [&](FileSearchEngine::Listing listing) { delivered = std::move(listing); });
    w.world.runUntilIdle();
    ASSERT_TRUE(delivered);
    EXPECT_FALSE(*delivered);
    EXPECT_TRUE(w.world.log.contains("folders cannot be listed"));
}
