#include <gtest/gtest.h>

#include "DockModelSupport.h"
#include "core/model/PinnedItemList.h"

using namespace quillbern;

namespace {

PinnedItem app(std::string bundleID) {
    return PinnedApp{std::move(bundleID), "App", std::nullopt};
}
PinnedItem folder(int n, std::vector<PinnedItem> items) {
    return PinnedFolder{seededUuid(n), "Group", std::move(items)};
}
PinnedItem location(int n, std::string path) {
    return PinnedLocation{seededUuid(n), "Place", std::move(path)};
}

std::vector<std::string> ids(const std::vector<PinnedItem>& items) {
    std::vector<std::string> out;
    for (const PinnedItem& item : items)
        out.push_back(item.id());
    return out;
}

using Ids = std::vector<std::string>;

}  // namespace

TEST(PinnedItemList, ReorderLandsBesideTheTargetInTheDirectionOfTravel) {
    const std::vector<PinnedItem> pqr{app("p"), app("q"), app("r")};
    auto items = pqr;
    EXPECT_TRUE(reorderItem("app:p", "app:r", items));
    EXPECT_EQ(ids(items), (Ids{"app:q", "app:r", "app:p"}));
    items = pqr;
    EXPECT_TRUE(reorderItem("app:r", "app:p", items));
    EXPECT_EQ(ids(items), (Ids{"app:r", "app:p", "app:q"}));
    items = pqr;
    EXPECT_TRUE(reorderItem("app:q", "app:q", items));
    EXPECT_FALSE(reorderItem("app:absent", "app:q", items));
    EXPECT_EQ(items, pqr);
}

TEST(PinnedItemList, ReorderWorksInsideOneFolderButNotAcrossLevels) {
    std::vector<PinnedItem> items{app("top"), folder(1, {app("a"), app("b")})};
    EXPECT_TRUE(reorderItem("app:b", "app:a", items));
    EXPECT_EQ(ids(items[1].folder()->items), (Ids{"app:b", "app:a"}));
    const auto before = items;
    EXPECT_FALSE(reorderItem("app:top", "app:a", items));
    EXPECT_EQ(items, before);
}

TEST(PinnedItemList, FlatteningKeepsDepthFirstOrderAndDropsEmptyFolders) {
    std::vector<PinnedItem> items{app("p"), folder(1, {app("q"), folder(2, {app("r")})}), app("s")};
    flattenFolders(items);
    EXPECT_EQ(ids(items), (Ids{"app:p", "app:q", "app:r", "app:s"}));
    std::vector<PinnedItem> empty{folder(3, {})};
    flattenFolders(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(PinnedItemList, DedupeKeepsFirstAppsTrashAndPathsAndRenewsRepeatedLocationIds) {
    SimUuidSource uuids;
    std::vector<PinnedItem> items{
        app("x"),          app("x"),          PinnedTrash{seededUuid(9)}, PinnedTrash{seededUuid(8)},
        location(1, "/p"), location(2, "/p"), location(1, "/q")};
    SeenIdentifiers seen;
    dedupeItems(items, seen, uuids);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].id(), "app:x");
    EXPECT_EQ(items[1].id(), "trash:" + seededId(9));
    EXPECT_EQ(*items[2].location(), (PinnedLocation{seededUuid(1), "Place", "/p"}));
    EXPECT_EQ(items[3].location()->path, "/q");
    EXPECT_NE(items[3].location()->id, seededUuid(1));
}

TEST(PinnedItemList, DedupeSharesAppsAndFolderIdsAcrossTheWholeDock) {
    SimUuidSource uuids;
    std::vector<PinnedItem> items{folder(1, {app("a")}), app("a"), folder(1, {app("b"), location(2, "/p")}),
                                  location(3, "/p")};
    SeenIdentifiers seen;
    dedupeItems(items, seen, uuids);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(ids(items[0].folder()->items), (Ids{"app:a"}));
    EXPECT_NE(items[1].folder()->id, seededUuid(1));
    EXPECT_EQ(ids(items[1].folder()->items), (Ids{"app:b", "location:" + seededId(2)}));
    // Paths are unique per level only.
    EXPECT_EQ(items[2].location()->path, "/p");
}

TEST(PinnedItemList, RemoveAppTakesTheFirstDepthFirstAndLeavesTheFolder) {
    std::vector<PinnedItem> items{folder(1, {app("x")}), app("x")};
    const auto removed = removeApp("x", items);
    ASSERT_TRUE(removed.has_value());
    EXPECT_EQ(removed->bundleID, "x");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].folder()->items.empty());
    EXPECT_EQ(items[1].id(), "app:x");
    EXPECT_FALSE(removeApp("absent", items).has_value());
}

TEST(PinnedItemList, MutateContainerEditsOnlyTheNamedFolder) {
    std::vector<PinnedItem> items{app("top"), folder(1, {folder(2, {app("deep")})})};
    const auto append = [](std::vector<PinnedItem>& list) { list.push_back(app("new")); };
    EXPECT_TRUE(mutateContainer(seededUuid(2), items, append));
    EXPECT_EQ(ids(items[1].folder()->items[0].folder()->items), (Ids{"app:deep", "app:new"}));
    EXPECT_EQ(items.size(), 2u);
    const auto before = items;
    EXPECT_FALSE(mutateContainer(seededUuid(7), items, append));
    EXPECT_EQ(items, before);
    EXPECT_TRUE(mutateContainer(std::nullopt, items, append));
    EXPECT_EQ(items.back().id(), "app:new");
}

TEST(PinnedItemList, FlattenedAppsOpenFoldersDepthFirst) {
    EXPECT_TRUE(PinnedItem(PinnedTrash{seededUuid(1)}).flattenedApps().empty());
    EXPECT_TRUE(location(2, "/p").flattenedApps().empty());
    const auto apps = folder(3, {app("a"), location(4, "/q"), folder(5, {app("b")})}).flattenedApps();
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_EQ(apps[0].bundleID, "a");
    EXPECT_EQ(apps[1].bundleID, "b");
}

TEST(PinnedItemList, DedupeCountsTheDroppedItemsThatHeldSomethingElse) {
    SimUuidSource uuids;
    const auto named = [](std::string bundleID, std::string name, std::optional<std::string> path = std::nullopt) {
        return PinnedItem(PinnedApp{std::move(bundleID), std::move(name), std::move(path)});
    };
    std::vector<PinnedItem> items{named("x", "X"),
                                  named("x", "X"),
                                  named("x", "Renamed"),
                                  named("x", "X", "/opt/x"),
                                  folder(1, {named("x", "X"), named("y", "Y")}),
                                  location(2, "/p"),
                                  PinnedLocation{seededUuid(3), "Elsewhere", "/p"},
                                  location(4, "/p"),
                                  PinnedTrash{seededUuid(5)},
                                  PinnedTrash{seededUuid(6)}};
    SeenIdentifiers seen;
    EXPECT_EQ(dedupeItems(items, seen, uuids), 3u) << "renamed, with a path, and the other name of /p";
    EXPECT_EQ(ids(items), (Ids{"app:x", "folder:" + seededId(1), "location:" + seededId(2), "trash:" + seededId(5)}));
}
