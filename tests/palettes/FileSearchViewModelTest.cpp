#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileSearchWorld.h"
#include "core/palettes/FileSearchViewModel.h"

using namespace quillbern;
using namespace quillbern::testing;

namespace {

// A home whose Documents hold the folder given, and a refused folder beside it.
struct ViewModelWorld : FileSearchWorld {
    ViewModelWorld() {
        world.files.addDirectory("/home/u/Documents");
        world.files.setUserDirectory(UserDirectory::documents, "/home/u/Documents");
        world.files.addDirectory("/home/u/Documents/Big");
        for (int n = 0; n < 250; ++n)
            world.files.addFile("/home/u/Documents/Big/file" + std::to_string(n) + ".txt", day(n));
        world.files.addDirectory("/home/u/Documents/Locked");
        world.files.setUnreadable("/home/u/Documents/Locked");
        world.files.addDirectory("/home/u/Documents/Empty");
        world.files.addFile("/home/u/Documents/report.txt", day(1));
        state = std::make_unique<FileSearchState>(statePorts(), std::vector<Profile>{});
    }
    void enter(const Path& path) {
        state->enter({.path = path, .name = path.substr(path.rfind('/') + 1), .isFolder = true, .modified = {}});
    }

    std::unique_ptr<FileSearchState> state;
};

}  // namespace

TEST(FileSearchViewModel, TheRefusalComesFirstThenSearchThenLoadingListingOrEmpty) {
    ViewModelWorld w;
    EXPECT_EQ(fileListContent(*w.state), FileListContent::level);
    w.enter("/home/u/Documents/Locked");
    EXPECT_EQ(fileListContent(*w.state), FileListContent::loading);
    w.settle();
    EXPECT_EQ(fileListContent(*w.state), FileListContent::denied);
    w.state->setQuery("report");
    EXPECT_EQ(fileListContent(*w.state), FileListContent::denied) << "also while a query is typed";

    w.state->goUp();
    w.settle();
    w.state->setQuery("nothing-like-it");
    EXPECT_EQ(fileListContent(*w.state), FileListContent::results) << "no match yet while the index builds";
    w.settle();
    EXPECT_EQ(fileListContent(*w.state), FileListContent::noMatch);
    w.state->setQuery("   ");
    EXPECT_EQ(fileListContent(*w.state), FileListContent::level) << "blanks are no search";

    w.enter("/home/u/Documents/Empty");
    w.settle();
    EXPECT_EQ(fileListContent(*w.state), FileListContent::empty);
}

TEST(FileSearchViewModel, ACutLevelHasAFooterWithBothCounts) {
    ViewModelWorld w;
    w.enter("/home/u/Documents/Big");
    w.settle();
    EXPECT_EQ(w.state->browseEntries().size(), 200u);
    EXPECT_EQ(fileCountFooter(*w.state), "Showing 200 of 250 items");
    w.state->goUp();
    w.settle();
    EXPECT_EQ(fileCountFooter(*w.state), std::nullopt);
}

TEST(FileSearchViewModel, TheSignatureFollowsRowsWhatShowsAndTotalsButNotQueryOrSelection) {
    ViewModelWorld w;
    w.enter("/home/u/Documents");
    w.settle();
    const std::vector<std::string> browsing = fileShapeSignature(*w.state);
    EXPECT_EQ(browsing.back(), "total:4");
    EXPECT_EQ(browsing[browsing.size() - 2], "crumb:Documents");
    w.state->move(+1);
    EXPECT_EQ(fileShapeSignature(*w.state), browsing) << "the selection is not part of it";

    w.state->setQuery("re");
    w.settle();
    const std::vector<std::string> searching = fileShapeSignature(*w.state);
    EXPECT_NE(searching, browsing);
    w.state->setQuery("rep");
    EXPECT_EQ(fileShapeSignature(*w.state), searching) << "the same results under another query";

    w.state->setQuery("");
    w.enter("/home/u/Documents/Big");
    EXPECT_TRUE(w.state->isLoadingLevel());
    const std::vector<std::string> loading = fileShapeSignature(*w.state);
    EXPECT_EQ(loading.back(), "total:0");
    w.settle();
    EXPECT_EQ(fileShapeSignature(*w.state).size(), 200u + 4u);

    w.enter("/home/u/Documents/Empty");
    const std::vector<std::string> emptyLoading = fileShapeSignature(*w.state);
    w.settle();
    EXPECT_NE(fileShapeSignature(*w.state), emptyLoading) << "no rows either way, but the spinner goes";
}

TEST(FileSearchViewModel, OnlyDatedFilesWithoutACaptionShowADate) {
    SimWorld world;
    const WallTime now = day(10);
    FileEntry file = fileAt("/d/a.txt");
    EXPECT_EQ(fileRowDate(file, std::nullopt, world.text, now), std::nullopt) << "undated";
    file.modified = day(9);
    EXPECT_EQ(fileRowDate(file, std::nullopt, world.text, now), "yesterday");
    EXPECT_EQ(fileRowDate(file, std::string("Documents"), world.text, now), std::nullopt) << "a captioned result";
    file.isFolder = true;
    EXPECT_EQ(fileRowDate(file, std::nullopt, world.text, now), std::nullopt);
}

TEST(RelativeDates, TheLargestWholeUnitNamedWhereEnglishHasAName) {
    SimTextServices text;
    const WallTime now{1'700'000'000};
    EXPECT_EQ(text.formatRelative(now + -20, now), "20 seconds ago");
    EXPECT_EQ(text.formatRelative(now, now), "now");
    EXPECT_EQ(text.formatRelative(now + (-3 * 3600.0 - 5), now), "3 hours ago");
    EXPECT_EQ(text.formatRelative(now + -36 * 3600.0, now), "yesterday");
    EXPECT_EQ(text.formatRelative(now + -9 * 86'400.0, now), "last week");
    EXPECT_EQ(text.formatRelative(now + 2 * 86'400.0, now), "in 2 days");
    EXPECT_EQ(text.formatRelative(now + -800 * 86'400.0, now), "2 years ago");
}
