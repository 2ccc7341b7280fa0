#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/tiles/LocationContent.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::dock;
using testing::folder;

const Path kFolder = "/home/u/Projects";

WallTime day(int n) {
    return WallTime{1'700'000'000.0 + n * 86'400.0};
}

std::vector<std::string> names(const std::vector<LocationEntry>& entries) {
    std::vector<std::string> result;
    for (const LocationEntry& entry : entries)
        result.push_back(entry.name);
    return result;
}

class Popover : public ::testing::Test {
protected:
    Popover() {
        w.world.files.addDirectory(kFolder);
        w.open({dock(1, DockEdge::bottom, {folder(1, "Projects", kFolder)})});
    }

    const PinnedLocation& location() const { return *w.pinned->profiles()[0].items[0].location(); }
    std::unique_ptr<LocationContent> open() {
        auto content =
            std::make_unique<LocationContent>(w.locations, *w.pinned, location(), dockID(), [this] { ++dismissals; });
        content->appear();
        return content;
    }
    Uuid dockID() const { return w.pinned->profiles()[0].id; }
    SimSerialQueue* listings() const { return w.world.threads.queue(LocationBrowser::kQueueLabel); }
    // Lists what waits and delivers it.
    void settle() {
        w.world.runUntilIdle();
        while (listings() && listings()->runNext())
            w.world.runUntilIdle();
    }
    void addFiles(int count, const Path& in = kFolder) {
        for (int i = 0; i < count; ++i)
            w.world.files.addFile(in + "/f" + std::to_string(i), day(i));
    }

    testing::TilesWorld w;
    int dismissals = 0;
};

TEST_F(Popover, ListsTheNewestItemsFirstAndKeepsTheListingsOrderForEqualOrUnknownDates) {
    w.world.files.addFile(kFolder + "/old", day(1));
    w.world.files.addFile(kFolder + "/undated-a");
    w.world.files.addFile(kFolder + "/new", day(3));
    w.world.files.addFile(kFolder + "/same-a", day(2));
    w.world.files.addFile(kFolder + "/undated-b");
    w.world.files.addFile(kFolder + "/same-b", day(2));
    w.world.files.addDirectory(kFolder + "/Sub", "Sub folder", day(4));
    w.world.files.addFile(kFolder + "/hidden", day(9));
    w.world.files.setHidden(kFolder + "/hidden");
    auto content = open();
    EXPECT_FALSE(content->loaded());
    settle();
    ASSERT_TRUE(content->loaded());
    EXPECT_EQ(names(content->entries()),
              (std::vector<std::string>{"Sub folder", "new", "same-a", "same-b", "old", "undated-a", "undated-b"}));
    EXPECT_EQ(content->entries()[0].path, kFolder + "/Sub");
    EXPECT_FALSE(content->truncated());
}

TEST_F(Popover, ShowsTheHundredMostRecentOfALargeFolderAndSaysSo) {
    addFiles(250);
    auto content = open();
    settle();
    ASSERT_EQ(content->entries().size(), 100u);
    EXPECT_TRUE(content->truncated());
    EXPECT_EQ(content->entries().front().name, "f249");
    EXPECT_EQ(content->entries().back().name, "f150");
    EXPECT_EQ(content->columns(), 5);
    EXPECT_EQ(content->rows(), 20);
    EXPECT_EQ(content->rawGridHeight(), 2252);
    EXPECT_EQ(content->gridFrameHeight(), 470);
    EXPECT_EQ(content->popoverWidth(0), 492);
    EXPECT_EQ(content->popoverWidth(15), 507) << "a scroll bar beside the grid takes room";

    w.world.folders.emit(kFolder, FolderChange::deleted);
    settle();
    EXPECT_TRUE(content->vanished());
    EXPECT_FALSE(content->truncated()) << "a folder that is gone shows no note of its items";
}

TEST_F(Popover, TellsAFolderThatIsEmptyUnreadableOrGone) {
    auto empty = open();
    settle();
    EXPECT_TRUE(empty->loaded());
    EXPECT_TRUE(empty->entries().empty());
    EXPECT_FALSE(empty->denied());
    EXPECT_EQ(empty->columns(), 2);
    EXPECT_EQ(empty->popoverWidth(0), 280) << "204 raised to the least width";

    w.world.files.setUnreadable(kFolder);
    auto refused = open();
    settle();
    EXPECT_TRUE(refused->denied());
    EXPECT_TRUE(refused->entries().empty());

    w.world.files.remove(kFolder);
    auto missing = open();
    settle();
    EXPECT_TRUE(missing->denied()) << "a folder that is no longer there cannot be read either";
}

TEST_F(Popover, TakesTheSizeOfTheLastListingBeforeItsOwnArrives) {
    auto first = open();
    EXPECT_EQ(first->displayCount(), 12u) << "never listed";
    EXPECT_EQ(first->columns(), 5);
    EXPECT_EQ(first->rows(), 3);
    EXPECT_EQ(first->popoverWidth(0), 492);
    EXPECT_EQ(first->rawGridHeight(), 348);

    addFiles(40);
    settle();
    first.reset();

    for (int i = 2; i < 40; ++i)
        w.world.files.remove(kFolder + "/f" + std::to_string(i));
    auto second = open();
    EXPECT_EQ(second->displayCount(), 40u);
    EXPECT_EQ(second->columns(), 5);
    settle();
    EXPECT_EQ(second->columns(), 2) << "latched by its own first listing";
    EXPECT_EQ(second->rows(), 1);

    w.world.files.setUnreadable(kFolder);
    second.reset();
    auto failed = open();
    settle();
    failed.reset();
    EXPECT_EQ(open()->displayCount(), 0u) << "a failed listing is remembered as nothing shown";
}

TEST_F(Popover, SizesFollowTheCountOfItems) {
    addFiles(3);
    auto three = open();
    settle();
    EXPECT_EQ(three->columns(), 3);
    EXPECT_EQ(three->popoverWidth(0), 300);
    EXPECT_EQ(three->rawGridHeight(), 124);

    addFiles(6);
    auto six = open();
    settle();
    EXPECT_EQ(six->columns(), 5);
    EXPECT_EQ(six->rows(), 2);
    EXPECT_EQ(six->popoverWidth(0), 492);
    EXPECT_EQ(six->rawGridHeight(), 236);
}

TEST_F(Popover, ItemsOpenWithTheirApplicationOrShowInTheFileManagerAndClose) {
    w.world.files.addFile(kFolder + "/run.sh", day(1));
    auto content = open();
    settle();
    ASSERT_EQ(content->entries().size(), 1u);
    content->openItem(content->entries()[0]);
    EXPECT_EQ(w.world.launcher.openedLocations(), std::vector<std::string>{kFolder + "/run.sh"});
    EXPECT_TRUE(w.world.launcher.launchedPaths().empty()) << "opened, never run";
    // Nothing opens it here: said, not silent.
    EXPECT_EQ(w.world.alerts.beepCount(), 1);
    EXPECT_TRUE(w.world.log.contains("no application opens " + kFolder + "/run.sh"));
    w.world.launcher.setApps(kFolder + "/run.sh", InstalledApp{"org.example.Editor", "Editor", "/apps/editor.desktop"},
                             {});
    content->openItem(content->entries()[0]);
    EXPECT_EQ(w.world.launcher.openedDocuments(), std::vector<Path>{kFolder + "/run.sh"});
    EXPECT_EQ(w.world.alerts.beepCount(), 1);
    content->revealItem(content->entries()[0]);
    EXPECT_EQ(w.world.launcher.revealed(), std::vector<std::vector<Path>>{{kFolder + "/run.sh"}});
    content->openFolder();
    EXPECT_EQ(w.world.launcher.openedLocations().back(), kFolder);
    EXPECT_EQ(dismissals, 4);
}

TEST_F(Popover, ABurstOfChangesListsTheFolderOnceAfterTheLastAndKeepsTheColumns) {
    addFiles(3);
    auto content = open();
    settle();
    ASSERT_EQ(content->columns(), 3);
    const std::size_t listed = w.world.files.listings().size();
    for (int i = 0; i < 5; ++i) {
        w.world.files.addFile(kFolder + "/new" + std::to_string(i), day(10 + i));
        w.world.folders.emit(kFolder, FolderChange::contentsChanged);
        w.world.advance(0.2);
    }
    settle();
    EXPECT_EQ(w.world.files.listings().size(), listed) << "0.2 s after the last change: not yet";
    w.world.advance(0.1);
    settle();
    EXPECT_EQ(w.world.files.listings().size(), listed + 1);
    EXPECT_EQ(content->entries().size(), 8u);
    EXPECT_EQ(content->entries().front().name, "new4");
    EXPECT_EQ(content->columns(), 3) << "rows come and go, the columns stay";
    EXPECT_EQ(content->rows(), 3);
}

TEST_F(Popover, FollowsTheFolderWhenItIsGivenANewName) {
    addFiles(2);
    auto content = open();
    settle();
    const Path renamed = "/home/u/Work";
    w.world.files.addDirectory(renamed, "Work");
    w.world.files.addFile(renamed + "/moved", day(5));
    w.world.folders.emit(kFolder, FolderChange::renamed, renamed);
    settle();
    EXPECT_EQ(content->location().path, renamed);
    EXPECT_EQ(content->location().name, "Work");
    EXPECT_EQ(location().path, renamed) << "the dock's tile follows";
    EXPECT_EQ(location().name, "Work");
    EXPECT_EQ(names(content->entries()), std::vector<std::string>{"moved"});
    EXPECT_EQ(w.world.folders.watchCount(renamed), 1) << "watched again where it went";
    w.world.files.addFile(renamed + "/later", day(6));
    w.world.folders.emit(renamed, FolderChange::contentsChanged);
    w.world.advance(0.3);
    settle();
    EXPECT_EQ(content->entries().size(), 2u);
}

TEST_F(Popover, ADeletedFolderIsNotFoundAndAListingStillRunningIsDropped) {
    addFiles(2);
    auto content = open();
    settle();
    w.world.folders.emit(kFolder, FolderChange::contentsChanged);
    w.world.advance(0.3);
    // The reload is listing as the folder goes.
    w.world.folders.emit(kFolder, FolderChange::deleted);
    settle();
    EXPECT_TRUE(content->vanished());
    EXPECT_TRUE(content->loaded());
    EXPECT_FALSE(content->denied());
    EXPECT_TRUE(content->entries().empty());
    EXPECT_EQ(w.world.folders.watchCount(kFolder), 0);
}

TEST_F(Popover, ClosingStopsTheWatchAndThePendingReload) {
    auto content = open();
    settle();
    EXPECT_EQ(w.world.folders.watchCount(kFolder), 1);
    w.world.folders.emit(kFolder, FolderChange::contentsChanged);
    content->disappear();
    EXPECT_EQ(w.world.folders.watchCount(kFolder), 0);
    const std::size_t listed = w.world.files.listings().size();
    w.world.advance(1);
    settle();
    EXPECT_EQ(w.world.files.listings().size(), listed);
}

TEST_F(Popover, AFolderThatCannotBeWatchedIsStillListed) {
    w.world.folders.refuse(kFolder);
    addFiles(1);
    auto content = open();
    settle();
    EXPECT_EQ(content->entries().size(), 1u);
}

}  // namespace
}  // namespace quillbern
