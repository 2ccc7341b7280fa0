#include <gtest/gtest.h>

#include "core/tiles/TrashTile.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::dock;
using testing::dockId;

const Path kTrashFolder = "/home/u/.local/share/Trash/files";
const PinnedTrash kTrash{Uuid::parse("BBBBBBBB-0000-4000-8000-000000000001").value()};

class Trash : public ::testing::Test {
protected:
    Trash() {
        w.world.files.addDirectory(kTrashFolder);
        w.world.files.setUserDirectory(UserDirectory::trash, kTrashFolder);
        w.open({dock(1, DockEdge::bottom, {kTrash})});
    }
    std::unique_ptr<TrashTile> show() {
        auto tile = std::make_unique<TrashTile>(TrashTile::Ports{.files = w.world.files,
                                                                 .folders = w.world.folders,
                                                                 .launcher = w.world.launcher,
                                                                 .pinned = *w.pinned,
                                                                 .alerts = w.world.alerts,
                                                                 .mainLoop = w.world.mainLoop},
                                                kTrash, dockId(1));
        changes = tile->changed.connect([this] { ++changeCount; });
        return tile;
    }

    testing::TilesWorld w;
    Subscription changes;
    int changeCount = 0;
};

TEST_F(Trash, FollowsTheTrashFillingAndEmptyingWhileItShows) {
    const auto tile = show();
    EXPECT_EQ(tile->isFull(), false);
    EXPECT_TRUE(tile->isWatching());

    w.world.files.addFile(kTrashFolder + "/old.txt");
    w.world.folders.emit(kTrashFolder, FolderChange::contentsChanged);
    EXPECT_EQ(tile->isFull(), true);
    EXPECT_EQ(changeCount, 1);

    w.world.folders.emit(kTrashFolder, FolderChange::contentsChanged);
    EXPECT_EQ(changeCount, 1) << "told only of a change";

    w.world.files.remove(kTrashFolder + "/old.txt");
    w.world.folders.emit(kTrashFolder, FolderChange::contentsChanged);
    EXPECT_EQ(tile->isFull(), false);
    EXPECT_EQ(changeCount, 2);
}

TEST_F(Trash, AHiddenItemMakesItFull) {
    w.world.files.addFile(kTrashFolder + "/.directory");
    w.world.files.setHidden(kTrashFolder + "/.directory");
    EXPECT_EQ(show()->isFull(), true);
}

TEST_F(Trash, AnUnreadableOrMissingTrashIsUnknownAndNotWatched) {
    w.world.files.setUnreadable(kTrashFolder);
    const auto unreadable = show();
    EXPECT_EQ(unreadable->isFull(), std::nullopt);
    EXPECT_FALSE(unreadable->isWatching());

    w.world.files.setUserDirectory(UserDirectory::trash, std::nullopt);
    const auto missing = show();
    EXPECT_EQ(missing->isFull(), std::nullopt);
    missing->open();
    EXPECT_TRUE(w.world.launcher.openedLocations().empty()) << "a click does nothing";
    EXPECT_EQ(w.world.folders.openCount(), 0);
}

TEST_F(Trash, GoingAwayEndsTheWatchAndComingBackReadsTheTrashAfresh) {
    auto tile = show();
    EXPECT_EQ(w.world.folders.watchCount(kTrashFolder), 1);
    tile.reset();
    EXPECT_EQ(w.world.folders.watchCount(kTrashFolder), 0);

    w.world.files.addFile(kTrashFolder + "/old.txt");
    EXPECT_EQ(show()->isFull(), true);
}

TEST_F(Trash, AClickOpensTheTrashOrElseItsFolderOrElseSaysWhyNeither) {
    const auto tile = show();
    tile->open();
    EXPECT_EQ(w.world.launcher.openedLocations(), (std::vector<std::string>{"trash:///"}));
    w.world.launcher.setOpensUrls(false);
    const InstalledApp files{"files", "Files", "/usr/share/applications/files.desktop"};
    w.world.launcher.setApps(kTrashFolder, files, {files});
    tile->open();
    EXPECT_EQ(w.world.launcher.openedLocations(), (std::vector<std::string>{"trash:///", "trash:///", kTrashFolder}));

    w.world.launcher.setApps(kTrashFolder, std::nullopt, {});
    tile->open();
    EXPECT_TRUE(w.world.alerts.shown().empty()) << "not while the click goes on";
    w.world.runUntilIdle();
    ASSERT_EQ(w.world.alerts.shown().size(), 1u);
    EXPECT_EQ(w.world.alerts.shown()[0].message, "“Trash” was not opened");
    EXPECT_EQ(w.world.alerts.shown()[0].informative,
              "No application on this desktop opens the Trash or folders. Install a file manager, then open the "
              "Trash again.");
}

TEST_F(Trash, ItsMenuOpensItOrRemovesTheTileUndoably) {
    const auto tile = show();
    const std::vector<MenuItem> items = tile->menu().items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].title, "Open in File Manager");
    EXPECT_TRUE(items[1].isSeparator);
    EXPECT_EQ(items[2].title, "Remove from dock");
    items[0].action();
    EXPECT_EQ(w.world.launcher.openedLocations().size(), 1u);
    items[2].action();
    EXPECT_TRUE(w.pinned->profile(dockId(1))->items.empty());
    ASSERT_TRUE(w.pinned->undoableRemoval());
    EXPECT_EQ(w.pinned->undoableRemoval()->label, "Put the Trash tile back");
}

}  // namespace
}  // namespace quillbern
