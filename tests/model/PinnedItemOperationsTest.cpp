#include <gtest/gtest.h>

#include "DockModelSupport.h"
#include "core/foundation/Localization.h"

using namespace quillbern;

namespace {

Json locationJson(int n, std::string_view path) {
    return {{"location", {{"_0", {{"id", seededId(n)}, {"name", "Folder"}, {"path", path}}}}}};
}
Json trashJson(int n) {
    return {{"trash", {{"_0", {{"id", seededId(n)}}}}}};
}
Json folderJson(int n, Json items) {
    return {{"folder", {{"_0", {{"id", seededId(n)}, {"name", "Group"}, {"items", items}}}}}};
}

// Two docks (1 and 2); dock 1 holds `items`. Saves and callbacks are counted from here.
class ItemOperations : public ::testing::Test {
protected:
    void start(Json items) {
        world.storeProfiles(Json::array({dockJson(1, "One", {{"items", items}, {"isVisible", true}}),
                                         dockJson(2, "Two", {{"isVisible", true}, {"edge", "top"}})}));
        world.defaults.set("profiles.multidock.migrated", true);
        store = world.startStore();
        world.defaults.resetWriteCounts();
        store->onContentChange = [this] { ++contentChanges; };
        store->onLayoutChange = [this] { ++layoutChanges; };
        store->onDragSessionChange = [this] { ++dragChanges; };
    }
    std::vector<PinnedItem> items(int dock = 1) const { return store->profile(seededUuid(dock))->items; }
    std::vector<std::string> ids(int dock = 1) const {
        std::vector<std::string> out;
        for (const PinnedItem& item : items(dock))
            out.push_back(item.id());
        return out;
    }
    PinnedLocation location(std::size_t index) const { return *items().at(index).location(); }
    int saves() const { return world.defaults.writeCount("profiles.v1"); }
    void dragging(const std::string& itemID, int dock = 1) {
        store->setDragSession(DragSession{itemID, seededUuid(dock)});
        dragChanges = 0;
    }

    DockWorld world;
    std::unique_ptr<PinnedStore> store;
    int contentChanges = 0;
    int layoutChanges = 0;
    int dragChanges = 0;
    const Uuid one = seededUuid(1);
    const Uuid two = seededUuid(2);
};

}  // namespace

TEST_F(ItemOperations, PinningAppendsOnceAndCallsOnlyTheContentCallback) {
    start(Json::array({appJson("a")}));
    store->pin("b", "B", "/apps/B.app", one);
    store->pin("b", "B again", std::nullopt, one);
    store->pin("a", "A", std::nullopt, two);
    EXPECT_EQ(ids(), (std::vector<std::string>{"app:a", "app:b"}));
    EXPECT_EQ(ids(2), (std::vector<std::string>{"app:a"}));
    EXPECT_EQ(*items()[1].app(), (PinnedApp{"b", "B", "/apps/B.app"}));
    EXPECT_EQ(saves(), 2);
    EXPECT_EQ(contentChanges, 2);
    EXPECT_EQ(layoutChanges, 0);
    EXPECT_EQ(world.storedJson("profiles.v1")[0]["items"][1]["app"]["_0"]["fallbackPath"], "/apps/B.app");
}

TEST_F(ItemOperations, PinningIntoAFolderNoneOfTheDockHasAppendsAtTheEnd) {
    // Every load flattens the older folders, so a folder identifier names none.
    start(Json::array({folderJson(9, Json::array({appJson("inner")})), appJson("top")}));
    store->pin("x", "X", std::nullopt, one, seededUuid(9));
    EXPECT_EQ(ids(), (std::vector<std::string>{"app:inner", "app:top", "app:x"}));
    store->pin("inner", "Inner", std::nullopt, one);
    EXPECT_EQ(saves(), 1);
}

TEST_F(ItemOperations, PinningIntoAnUnknownDockOrWithTextThatIsNotUtf8DoesNothing) {
    start(Json::array());
    store->pin("a", "A", std::nullopt, seededUuid(50));
    store->pin("a", "bad \xC3", std::nullopt, one);
    store->pin("bad\xFF", "A", std::nullopt, one);
    store->pin("a", "A", std::string("/apps/\xC0\x80"), one);
    EXPECT_TRUE(ids().empty());
    EXPECT_EQ(saves(), 0);
    EXPECT_EQ(contentChanges, 0);
}

TEST_F(ItemOperations, AnInstalledAppIsPinnedUnderTheFirstNameItHas) {
    start(Json::array());
    world.catalog.install("/apps/Full.app", {"full", "Localized", "Display", "Bundle"});
    world.catalog.install("/apps/Plain.app", {"plain", std::nullopt, std::nullopt, "Bundle"});
    world.catalog.install("/apps/Bare Name.app", {"bare", std::nullopt, std::nullopt, std::nullopt});
    store->pinApp("/apps/Full.app", one);
    store->pinApp("/apps/Plain.app", one);
    store->pinApp("/apps/Bare Name.app", one);
    store->pinApp("/apps/Missing.app", one);
    const auto pinned = items();
    ASSERT_EQ(pinned.size(), 3u);
    EXPECT_EQ(*pinned[0].app(), (PinnedApp{"full", "Localized", "/apps/Full.app"}));
    EXPECT_EQ(pinned[1].app()->name, "Bundle");
    EXPECT_EQ(pinned[2].app()->name, "Bare Name");
}

TEST_F(ItemOperations, AFolderIsPinnedOncePerDockAndOnlyWhenItIsAFolder) {
    start(Json::array());
    world.files.addDirectory("/home/u/Projects", "My Projects");
    world.files.addFile("/home/u/notes.txt");
    store->pinLocation("/home/u/Projects", one);
    store->pinLocation("/home/u/Projects/", one);
    store->pinLocation("/home/u/notes.txt", one);
    store->pinLocation("/home/u/absent", one);
    store->pinLocation("/home/u/Projects", two);
    ASSERT_EQ(ids().size(), 1u);
    EXPECT_EQ(location(0).name, "My Projects");
    EXPECT_EQ(location(0).path, "/home/u/Projects");
    EXPECT_TRUE(store->hasLocation("/home/u/Projects", two));
    EXPECT_EQ(saves(), 2);
}

TEST_F(ItemOperations, TheTrashTileIsAddedOnce) {
    start(Json::array({appJson("a")}));
    store->pinTrash(one);
    store->pinTrash(one);
    ASSERT_EQ(ids().size(), 2u);
    EXPECT_TRUE(ids()[1].starts_with("trash:"));
    EXPECT_EQ(saves(), 1);
}

TEST_F(ItemOperations, UnpinningCanBeUndoneAtTheFormerPositionUntilTheNextChange) {
    start(Json::array({appJson("a"), appJson("b"), appJson("c")}));
    store->unpin("b", one);
    EXPECT_EQ(ids(), (std::vector<std::string>{"app:a", "app:c"}));
    ASSERT_TRUE(store->undoableRemoval());
    EXPECT_EQ(store->undoableRemoval()->label, tr("Put the app back"));
    EXPECT_EQ(contentChanges, 1);

    store->undoLastRemoval();
    EXPECT_EQ(ids(), (std::vector<std::string>{"app:a", "app:b", "app:c"}));

    store->unpin("a", one);
    store->pinTrash(two);
    EXPECT_FALSE(store->undoableRemoval());
}

TEST_F(ItemOperations, UnpinningWhatIsNotThereKeepsTheUndoButEndsItsDrag) {
    start(Json::array({appJson("a"), appJson("b")}));
    store->unpin("a", one);
    const int savesAfterRemoval = saves();
    dragging("app:zz", 2);
    store->unpin("zz", one);
    EXPECT_EQ(saves(), savesAfterRemoval);
    EXPECT_TRUE(store->undoableRemoval());
    EXPECT_FALSE(store->dragSession());
    EXPECT_EQ(dragChanges, 1);
}

TEST_F(ItemOperations, TrashAndFolderTilesAreRemovedByTheirIdentifier) {
    start(Json::array({trashJson(5), locationJson(6, "/p"), appJson("a")}));
    dragging("location:" + seededId(6));
    store->unpinLocation(seededUuid(6), one);
    EXPECT_FALSE(store->dragSession());
    EXPECT_EQ(store->undoableRemoval()->label, tr("Put the folder back"));
    store->unpinTrash(seededUuid(99), one);
    EXPECT_EQ(store->undoableRemoval()->label, tr("Put the folder back"));
    store->unpinTrash(seededUuid(5), one);
    EXPECT_EQ(ids(), (std::vector<std::string>{"app:a"}));
    EXPECT_EQ(store->undoableRemoval()->label, tr("Put the Trash tile back"));
    store->undoLastRemoval();
    EXPECT_EQ(ids().size(), 2u);
    EXPECT_EQ(ids()[0], "trash:" + seededId(5));
}

TEST_F(ItemOperations, OnlyTheDraggedItemMovesAndOnlyInItsOwnDock) {
    start(Json::array({appJson("p"), appJson("q"), appJson("r")}));
    store->move("app:p", "app:r", one);
    dragging("app:p", 2);
    store->move("app:p", "app:r", one);
    dragging("app:q");
    store->move("app:p", "app:r", one);
    EXPECT_EQ(saves(), 0);

    dragging("app:p");
    store->move("app:p", "app:r", one);
    EXPECT_EQ(ids(), (std::vector<std::string>{"app:q", "app:r", "app:p"}));
    EXPECT_TRUE(store->dragSession());
    EXPECT_EQ(saves(), 1);
    EXPECT_EQ(contentChanges, 1);
    store->move("app:p", "app:absent", one);
    EXPECT_EQ(saves(), 1);
}

TEST_F(ItemOperations, AMovedFolderIsFollowedUnderItsNewName) {
    start(Json::array({locationJson(6, "/old"), appJson("a")}));
    world.files.addDirectory("/new", "New Name");
    store->relocateLocation(seededUuid(6), "/new/", one);
    EXPECT_EQ(location(0).path, "/new");
    EXPECT_EQ(location(0).name, "New Name");
    EXPECT_EQ(location(0).id, seededUuid(6));
    EXPECT_EQ(saves(), 1);

    world.files.setDisplayName("/new", "Renamed");
    store->relocateLocation(seededUuid(6), "/new", one);
    EXPECT_EQ(location(0).name, "New Name");
    EXPECT_EQ(saves(), 1);
}

TEST_F(ItemOperations, AFolderIsNotMovedOntoAPathAnotherTileOfTheDockShows) {
    start(Json::array({locationJson(6, "/a"), locationJson(7, "/b")}));
    store->relocateLocation(seededUuid(6), "/b", one);
    EXPECT_EQ(location(0).path, "/a");
    EXPECT_EQ(saves(), 0);
    EXPECT_EQ(contentChanges, 0);

    // Nothing would be dropped at the next start either.
    store.reset();
    store = world.startStore();
    EXPECT_EQ(ids().size(), 2u);
    EXPECT_TRUE(world.keysStartingWith("profiles.v1.corrupt").empty());
}

TEST_F(ItemOperations, VisibleDocksAreThoseShownAndSwitchedOn) {
    start(Json::array());
    store->setEnabled(two, false);
    const auto visible = store->visibleProfiles();
    ASSERT_EQ(visible.size(), 1u);
    EXPECT_EQ(visible[0].id, one);
}
