#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>

#include "FileSearchWorld.h"

using namespace quillbern;
using namespace quillbern::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

PinnedItem location(std::string name, std::string path) {
    return PinnedLocation{Uuid{}, std::move(name), std::move(path)};
}

Profile dock(std::vector<PinnedItem> items) {
    Profile profile;
    profile.name = "Dock";
    profile.items = std::move(items);
    return profile;
}

// A home with the three user folders and a few files, and one dock pinning Projects.
struct StateWorld : FileSearchWorld {
    StateWorld() {
        auto& files = world.files;
        for (const char* folder : {"Desktop", "Documents", "Downloads"})
            files.addDirectory(std::string("/home/u/") + folder);
        files.setUserDirectory(UserDirectory::desktop, "/home/u/Desktop");
        files.setUserDirectory(UserDirectory::documents, "/home/u/Documents/");
        files.setUserDirectory(UserDirectory::downloads, "/home/u/Downloads");
        files.addDirectory("/home/u/Documents/Projects");
        files.addFile("/home/u/Documents/Projects/plan.txt", day(3));
        files.addDirectory("/home/u/Documents/Projects/old");
        files.addFile("/home/u/Documents/Projects/old/plan-2019.txt", day(1));
        files.addFile("/home/u/Documents/letter.txt", day(2));
        files.addFile("/home/u/Downloads/plans.pdf", day(4));
    }

    FileSearchState& open(std::vector<Profile> docks = {}) {
        state = std::make_unique<FileSearchState>(statePorts(), docks);
        subscription = state->changed.connect([this] { ++changes; });
        return *state;
    }
    // Enters the root or the entry of the level shown with that name, and lets it load.
    void enterNamed(std::string_view name) {
        const auto& level = *state->levelEntries();
        const auto found = std::ranges::find(level, name, &FileEntry::name);
        ASSERT_NE(found, level.end()) << name;
        state->enter(*found);
        settle();
    }
    std::vector<std::string> shownNames() const {
        if (state->isSearching()) return namesOf(state->searchResults());
        const auto browse = state->browseEntries();
        return namesOf({browse.begin(), browse.end()});
    }

    std::unique_ptr<FileSearchState> state;
    Subscription subscription;
    int changes = 0;
};

}  // namespace

TEST(FileSearchRoots, UserFoldersFirstThenPinnedFoldersByNameEachPathOnce) {
    StateWorld w;
    const std::vector<FileEntry> roots = FileSearchState::buildRoots(
        w.world.files, w.world.text,
        {dock({location("zeta", "/data/z"), location("Mine", "/home/u/Documents"), location("alpha", "/data/a/")}),
         dock({location("Alpha", "/data/a"), location("beta", "/data/a"), location("Work", "/data/w")})});

    EXPECT_THAT(namesOf(roots), ElementsAre("Desktop", "Documents", "Downloads", "alpha", "Work", "zeta"));
    EXPECT_THAT(pathsOf(roots), ElementsAre("/home/u/Desktop", "/home/u/Documents", "/home/u/Downloads", "/data/a",
                                            "/data/w", "/data/z"))
        << "paths are normalised, so a pinned \".../Documents\" and \"/data/a/\" come once";
    for (const FileEntry& root : roots) {
        EXPECT_TRUE(root.isFolder);
        EXPECT_FALSE(root.modified);
    }
}

TEST(FileSearchRoots, AUserFolderTheDesktopDoesNotNameIsLeftOut) {
    StateWorld w;
    w.world.files.setUserDirectory(UserDirectory::desktop, std::nullopt);
    w.world.files.setUserDirectory(UserDirectory::downloads, std::nullopt);
    EXPECT_THAT(namesOf(FileSearchState::buildRoots(w.world.files, w.world.text, {})), ElementsAre("Documents"));

    w.world.files.setUserDirectory(UserDirectory::documents, std::nullopt);
    FileSearchState& state = w.open();
    EXPECT_THAT(state.roots(), IsEmpty());
    EXPECT_FALSE(state.selectedID());
    EXPECT_FALSE(state.selectedEntry());
}

TEST(FileSearchState, OpensAtTheTopLevelWithTheFirstRootSelectedAndNothingStarted) {
    StateWorld w;
    FileSearchState& state = w.open({dock({location("Projects", "/home/u/Documents/Projects")})});
    EXPECT_EQ(state.levelEntries(), state.roots());
    EXPECT_EQ(state.selectedID(), "/home/u/Desktop");
    EXPECT_FALSE(state.breadcrumb());
    EXPECT_FALSE(state.isLoadingLevel());
    EXPECT_EQ(w.pendingReads(), 0u);
    EXPECT_THAT(w.world.threads.queueLabels(), IsEmpty());
}

TEST(FileSearchState, EnteringAFolderLoadsItsLevelAndGoingUpReturnsToTheRoots) {
    StateWorld w;
    FileSearchState& state = w.open();
    int loaded = 0;
    state.onLevelLoaded = [&] { ++loaded; };

    state.enter(state.roots()[1]);
    EXPECT_TRUE(state.isLoadingLevel());
    EXPECT_FALSE(state.levelEntries());
    EXPECT_EQ(state.breadcrumb(), "Documents");
    w.settle();
    EXPECT_FALSE(state.isLoadingLevel());
    EXPECT_THAT(w.shownNames(), ElementsAre("Projects", "letter.txt"));
    EXPECT_EQ(state.selectedID(), "/home/u/Documents/Projects");
    EXPECT_EQ(loaded, 1);

    w.enterNamed("Projects");
    EXPECT_EQ(state.breadcrumb(), "Documents \xE2\x80\xBA Projects");
    EXPECT_THAT(w.shownNames(), ElementsAre("old", "plan.txt"));

    state.goUp();
    state.goUp();
    EXPECT_EQ(state.levelEntries(), state.roots());
    EXPECT_EQ(state.selectedID(), "/home/u/Desktop") << "the first root, not the folder left";
    EXPECT_EQ(loaded, 2) << "the top level is no loaded level";
    state.goUp();
    EXPECT_THAT(state.stack(), IsEmpty());
}

TEST(FileSearchState, AListingForAFolderAlreadyLeftChangesNothing) {
    StateWorld w;
    FileSearchState& state = w.open();
    state.enter(state.roots()[1]);
    ASSERT_TRUE(w.io()->runNext()) << "Documents is read, but not yet delivered";
    state.goUp();
    state.enter(state.roots()[0]);
    state.goUp();
    state.enter(state.roots()[2]);
    const int changesBefore = w.changes;

    w.world.runUntilIdle();
    EXPECT_FALSE(state.levelEntries());
    EXPECT_TRUE(state.isLoadingLevel());
    EXPECT_EQ(w.changes, changesBefore);

    w.settle();
    EXPECT_THAT(w.shownNames(), ElementsAre("plans.pdf"));
    EXPECT_THAT(w.world.files.listings(), ElementsAre("/home/u/Documents", "/home/u/Downloads"))
        << "a listing that is no longer wanted is not even read";
}

TEST(FileSearchState, ARefusedFolderShowsAsRefusedUntilTheUserLeavesIt) {
    StateWorld w;
    w.world.files.setUnreadable("/home/u/Desktop");
    FileSearchState& state = w.open();
    state.enter(state.roots()[0]);
    w.settle();
    EXPECT_TRUE(state.levelDenied());
    ASSERT_TRUE(state.levelEntries());
    EXPECT_THAT(*state.levelEntries(), IsEmpty());
    EXPECT_FALSE(state.selectedID());

    state.goUp();
    EXPECT_FALSE(state.levelDenied());
}

TEST(FileSearchState, BrowsingShowsTwoHundredEntriesWhileSearchTakesTheWholeLevel) {
    StateWorld w;
    w.world.files.addDirectory("/home/u/Desktop/many");
    for (int i = 0; i < 300; ++i)
        w.world.files.addFile("/home/u/Desktop/many/file" + std::to_string(i), day(1000 - i));
    FileSearchState& state = w.open();
    w.enterNamed("Desktop");
    w.enterNamed("many");
    EXPECT_EQ(state.browseEntries().size(), 200u);

    state.setQuery("file299");
    EXPECT_THAT(namesOf(state.searchResults()), ElementsAre("file299"));
    EXPECT_EQ(state.selectedID(), "/home/u/Desktop/many/file299") << "each edit selects the best result";
}

TEST(FileSearchState, SearchAtTheTopLevelFindsRootsAndWhatTheIndexHoldsBeneathThem) {
    StateWorld w;
    FileSearchState& state = w.open();

    state.setQuery("plan");
    EXPECT_TRUE(state.indexBuilding());
    EXPECT_THAT(state.searchResults(), IsEmpty());
    w.settle();
    EXPECT_FALSE(state.indexBuilding());
    EXPECT_THAT(w.shownNames(), ElementsAre("plans.pdf", "plan.txt", "plan-2019.txt"));
    EXPECT_EQ(state.selectedID(), "/home/u/Downloads/plans.pdf") << "the index's arrival keeps a valid selection";

    state.setQuery("down");
    EXPECT_THAT(w.shownNames(), ElementsAre("Downloads"));
    EXPECT_FALSE(state.pathCaption(state.searchResults()[0])) << "a root lies in no other root";
}

TEST(FileSearchState, TheIndexIsBuiltOncePerNavigationForTheFolderShown) {
    StateWorld w;
    FileSearchState& state = w.open();
    w.enterNamed("Documents");
    const std::size_t listingsBefore = w.world.files.listings().size();

    state.setQuery("p");
    w.settle();
    const std::vector<Path> listings = w.world.files.listings();
    EXPECT_THAT(std::vector(listings.begin() + static_cast<std::ptrdiff_t>(listingsBefore), listings.end()),
                ElementsAre("/home/u/Documents", "/home/u/Documents/Projects", "/home/u/Documents/Projects/old"))
        << "the scope is the folder shown";
    state.setQuery("pl");
    state.setQuery("plan");
    w.settle();
    EXPECT_EQ(w.world.files.listings().size(), listingsBefore + 3) << "later queries reuse the index";
    EXPECT_THAT(w.shownNames(), ElementsAre("plan.txt", "plan-2019.txt"));

    w.enterNamed("Projects");
    EXPECT_FALSE(state.searchIndex()) << "a navigation discards it";
    EXPECT_EQ(state.query(), "");
    state.setQuery("plan");
    w.settle();
    EXPECT_TRUE(state.searchIndex());
}

TEST(FileSearchState, AQueryTypedWhileTheLevelLoadsIsAnsweredAsListingAndIndexArrive) {
    StateWorld w;
    FileSearchState& state = w.open();
    state.enter(state.roots()[1]);
    state.setQuery("p");
    EXPECT_TRUE(state.isLoadingLevel());
    EXPECT_TRUE(state.indexBuilding());
    EXPECT_THAT(state.searchResults(), IsEmpty());
    EXPECT_FALSE(state.selectedID());

    ASSERT_TRUE(w.readNext()) << "the level's listing";
    EXPECT_THAT(w.shownNames(), ElementsAre("Projects"));
    EXPECT_EQ(state.selectedID(), "/home/u/Documents/Projects");
    w.settle();
    EXPECT_THAT(w.shownNames(), ElementsAre("plan.txt", "plan-2019.txt", "Projects")) << "the undated folder last";
    EXPECT_EQ(state.selectedID(), "/home/u/Documents/Projects") << "still shown, so still selected";
}

TEST(FileSearchState, AnIndexForAScopeAlreadyLeftIsDroppedWhole) {
    StateWorld w;
    FileSearchState& state = w.open();
    state.setQuery("plan");
    ASSERT_TRUE(w.readNext());
    state.enter(state.roots()[2]);
    w.settle();
    EXPECT_FALSE(state.searchIndex());
    EXPECT_FALSE(state.indexBuilding());
    EXPECT_THAT(w.shownNames(), ElementsAre("plans.pdf"));
}

TEST(FileSearchState, BlankInputIsNoSearch) {
    StateWorld w;
    FileSearchState& state = w.open();
    state.setQuery("   \t");
    EXPECT_FALSE(state.isSearching());
    EXPECT_FALSE(state.indexBuilding());
    EXPECT_EQ(w.pendingReads(), 0u);
    EXPECT_THAT(w.shownNames(), ElementsAre("Desktop", "Documents", "Downloads"));

    const int changesBefore = w.changes;
    state.setQuery("   \t");
    EXPECT_EQ(w.changes, changesBefore) << "the same text changes nothing";
}

TEST(FileSearchState, ClearingTheQuerySelectsTheFirstEntryOfTheBrowseList) {
    StateWorld w;
    FileSearchState& state = w.open();
    state.setQuery("down");
    w.settle();
    EXPECT_EQ(state.selectedID(), "/home/u/Downloads");
    state.setQuery("");
    EXPECT_EQ(state.selectedID(), "/home/u/Desktop");
}

TEST(FileSearchState, TheSelectionMovesWithinTheShownListAndStopsAtItsEnds) {
    StateWorld w;
    FileSearchState& state = w.open();
    state.move(-1);
    EXPECT_EQ(state.selectedID(), "/home/u/Desktop");
    state.move(1);
    state.move(1);
    EXPECT_EQ(state.selectedID(), "/home/u/Downloads");
    const int changesBefore = w.changes;
    state.move(1);
    EXPECT_EQ(state.selectedID(), "/home/u/Downloads");
    EXPECT_EQ(w.changes, changesBefore);
    state.move(-5);
    EXPECT_EQ(state.selectedEntry()->name, "Desktop");

    state.setQuery("nothing matches this");
    EXPECT_FALSE(state.selectedID());
    state.move(1);
    EXPECT_FALSE(state.selectedID());
    EXPECT_FALSE(state.selectedEntry());
}

TEST(FileSearchState, AfterAListingTheSelectionStaysWhereItsPathIsListed) {
    StateWorld w;
    FileSearchState& state = w.open();
    w.enterNamed("Documents");
    state.move(1);
    EXPECT_EQ(state.selectedID(), "/home/u/Documents/letter.txt");
    state.reconcile();
    EXPECT_EQ(state.selectedID(), "/home/u/Documents/letter.txt");

    // A selection that no longer names a shown entry moves to the first one.
    state.setQuery("letter");
    w.settle();
    w.world.files.remove("/home/u/Documents/letter.txt");
    state.setQuery("");
    EXPECT_EQ(state.selectedID(), "/home/u/Documents/Projects");
}

TEST(FileSearchState, CaptionsNameTheFirstRootHoldingTheResultAndTheFoldersBeneathIt) {
    StateWorld w;
    FileSearchState& state = w.open({dock({location("Projects", "/home/u/Documents/Projects")})});
    const FileEntry deep = fileAt("/home/u/Documents/Projects/old/plan-2019.txt");
    const FileEntry direct = fileAt("/home/u/Documents/letter.txt");
    const FileEntry outside = fileAt("/elsewhere/x.txt");
    EXPECT_FALSE(state.pathCaption(direct)) << "no captions outside search";

    state.setQuery("x");
    EXPECT_EQ(state.pathCaption(direct), "Documents");
    EXPECT_EQ(state.pathCaption(deep), "Documents \xE2\x80\xBA Projects \xE2\x80\xBA old")
        << "Documents comes before the pinned Projects";
    EXPECT_FALSE(state.pathCaption(outside));
    EXPECT_FALSE(state.pathCaption(fileAt("/home/u/Documents2/x.txt")))
        << "a name that merely begins like a root is not inside it";

    w.enterNamed("Projects");
    state.setQuery("x");
    EXPECT_EQ(state.pathCaption(deep), "Projects \xE2\x80\xBA old") << "in a folder, the folder itself";
}

TEST(FileSearchState, ARootAtTheTopOfTheFileSystemCaptionsWhatLiesBeneathIt) {
    StateWorld w;
    FileSearchState& state = w.open({dock({location("Computer", "/")})});
    state.setQuery("x");
    EXPECT_EQ(state.pathCaption(fileAt("/etc/x.conf")), "Computer \xE2\x80\xBA etc");
    EXPECT_EQ(state.pathCaption(fileAt("/x.conf")), "Computer");
}

TEST(FileSearchState, EachIconIsFetchedOncePerOpening) {
    StateWorld w;
    FileSearchState& state = w.open();
    const ImageHandle first = state.icon(state.roots()[0]);
    EXPECT_EQ(state.icon(state.roots()[0]), first);
    state.icon(state.roots()[1]);
    EXPECT_THAT(w.world.icons.fileRequests(), ElementsAre("/home/u/Desktop", "/home/u/Documents"));
    EXPECT_EQ(SimIcons::tagOf(first), "/home/u/Desktop");

    w.open();
    w.state->icon(w.state->roots()[0]);
    EXPECT_EQ(w.world.icons.fileRequests().size(), 3u) << "a new opening fetches again";
}

TEST(FileSearchState, CancelledOrEndedStatesApplyNothingThatArrivesLater) {
    StateWorld w;
    FileSearchState& state = w.open();
    state.enter(state.roots()[1]);
    state.setQuery("p");
    state.cancelTasks();
    w.settle();
    EXPECT_TRUE(state.isLoadingLevel());
    EXPECT_FALSE(state.searchIndex());

    w.open();
    w.state->enter(w.state->roots()[1]);
    w.state->setQuery("p");
    w.state.reset();
    w.settle();
    EXPECT_EQ(w.pendingReads(), 0u);
}
