#include <gtest/gtest.h>
#include <vector>

#include "core/tiles/LocationTiles.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::dock;
using testing::folder;

class FolderTiles : public ::testing::Test {
protected:
    FolderTiles() {
        w.world.files.addDirectory("/home/u/A");
        w.world.files.addDirectory("/home/u/B");
        w.open({dock(1, DockEdge::bottom, {folder(1, "A", "/home/u/A"), folder(2, "B", "/home/u/B")})});
        tiles =
            std::make_unique<LocationTiles>(w.world.clock, *w.pinned, w.world.launcher, dockID(), [this](bool held) {
                holds += held ? 1 : -1;
                ++lockCalls;
            });
        tiles->onPresent = [this](const std::optional<Uuid>& shown) { presented.push_back(shown); };
    }
    Uuid dockID() const { return w.pinned->profiles()[0].id; }
    const PinnedLocation& location(std::size_t i) const { return *w.pinned->profiles()[0].items[i].location(); }
    Uuid a() const { return location(0).id; }
    Uuid b() const { return location(1).id; }

    testing::TilesWorld w;
    std::unique_ptr<LocationTiles> tiles;
    int holds = 0;
    int lockCalls = 0;
    std::vector<std::optional<Uuid>> presented;
};

TEST_F(FolderTiles, AClickOpensTheFolderAndHoldsTheDockUntilItCloses) {
    tiles->click(a());
    EXPECT_EQ(tiles->openLocation(), a());
    EXPECT_EQ(presented, (std::vector<std::optional<Uuid>>{a()}));
    EXPECT_EQ(holds, 1);
    tiles->click(a());
    EXPECT_EQ(tiles->openLocation(), std::nullopt) << "the tile's own click closes it";
    EXPECT_EQ(holds, 0);
    w.world.advance(0.31);
    tiles->click(a());
    EXPECT_EQ(tiles->openLocation(), a()) << "and a later one opens it again";
}

TEST_F(FolderTiles, AClickRightAfterThePopoverClosedDoesNothing) {
    tiles->click(a());
    // A click elsewhere, or the popover's own dismissal.
    tiles->closed();
    w.world.advance(0.3);
    tiles->click(a());
    EXPECT_EQ(tiles->openLocation(), std::nullopt) << "0.3 s is not more than 0.3 s";
    w.world.advance(0.01);
    tiles->click(a());
    EXPECT_EQ(tiles->openLocation(), a());
    // Another folder's tile was not the one that closed.
    tiles->closed();
    tiles->click(b());
    EXPECT_EQ(tiles->openLocation(), b());
}

TEST_F(FolderTiles, TheHoldIsGivenBackExactlyOnceWhenTheTileGoesWithItsPopoverOpen) {
    tiles->click(a());
    ASSERT_EQ(holds, 1);
    w.pinned->unpinLocation(a(), dockID());
    std::vector<Uuid> shown;
    for (const PinnedItem& item : w.pinned->profiles()[0].items)
        shown.push_back(item.location()->id);
    tiles->keepOnly(shown);
    EXPECT_EQ(holds, 0);
    EXPECT_EQ(presented.back(), std::nullopt) << "its popover closes";
    // The popover then tells that it closed, and the dock goes: neither gives back again.
    tiles->closed();
    tiles.reset();
    EXPECT_EQ(holds, 0);
    EXPECT_EQ(lockCalls, 2);
}

TEST_F(FolderTiles, ADockThatGoesWithAPopoverOpenGivesBackItsHold) {
    tiles->click(b());
    tiles.reset();
    EXPECT_EQ(holds, 0);
    EXPECT_EQ(presented.size(), 1u) << "no one is told of a popover that goes with its dock";
}

TEST_F(FolderTiles, TheMenuOpensTheFolderOrRemovesTheTileForGood) {
    const std::vector<MenuItem> items = tiles->menu(location(0)).items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].title, "Open in File Manager");
    EXPECT_TRUE(items[1].isSeparator);
    EXPECT_EQ(items[2].title, "Remove from dock");
    items[0].action();
    EXPECT_EQ(w.world.launcher.openedLocations(), std::vector<std::string>{"/home/u/A"});
    items[2].action();
    EXPECT_EQ(w.pinned->profiles()[0].items.size(), 1u);
    w.pinned->undoLastRemoval();
    EXPECT_EQ(w.pinned->profiles()[0].items.size(), 2u) << "it can be put back";
}

TEST_F(FolderTiles, PopoversStandAwayFromTheDocksEdge) {
    EXPECT_EQ(popoverArrowEdge(DockEdge::bottom), ArrowEdge::top);
    EXPECT_EQ(popoverArrowEdge(DockEdge::top), ArrowEdge::bottom);
    EXPECT_EQ(popoverArrowEdge(DockEdge::left), ArrowEdge::trailing);
    EXPECT_EQ(popoverArrowEdge(DockEdge::right), ArrowEdge::leading);
    EXPECT_EQ(popoverArrowEdge(std::nullopt), ArrowEdge::top);
}

}  // namespace
}  // namespace quillbern
