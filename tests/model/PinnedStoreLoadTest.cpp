#include <gtest/gtest.h>
#include <set>

#include "DockModelSupport.h"

using namespace quillbern;

namespace {

constexpr const char* kCorruptKey = "profiles.v1.corrupt.1800000000";

Json visibleDock(int n, Json members = Json::object()) {
    members["isVisible"] = true;
    return dockJson(n, "Dock " + std::to_string(n), std::move(members));
}

std::vector<std::string> names(const PinnedStore& store) {
    std::vector<std::string> out;
    for (const Profile& p : store.profiles())
        out.push_back(p.name);
    return out;
}

void expectSingleEmptyMainDock(const PinnedStore& store) {
    ASSERT_EQ(store.profiles().size(), 1u);
    const Profile& dock = store.profiles()[0];
    EXPECT_EQ(dock.name, "Main");
    EXPECT_TRUE(dock.items.empty());
    EXPECT_TRUE(dock.isVisible && dock.isEnabled && dock.showsWindows);
    EXPECT_EQ(dock.edge, DockEdge::bottom);
    EXPECT_TRUE(dock.display.isAll());
}

}  // namespace

TEST(PinnedStoreLoad, FirstStartWritesOneMainDockWithoutRecovery) {
    DockWorld world;
    const auto store = world.startStore();
    expectSingleEmptyMainDock(*store);
    EXPECT_EQ(world.storedJson("profiles.v1").size(), 1u);
    EXPECT_EQ(world.storedJson("profiles.v1")[0]["name"], "Main");
    EXPECT_FALSE(store->recoveredFromUnreadableData());
    EXPECT_TRUE(world.keysStartingWith("profiles.v1.").empty());
    EXPECT_EQ(world.defaults.boolValue("profiles.multidock.migrated"), true);
}

TEST(PinnedStoreLoad, UnreadableDataIsKeptByteForByteAndRecoveryIsFlagged) {
    const std::vector<std::string> unreadable{
        "[]", "not json", R"([{"id":")" + seededId(1) + R"("}])",  // a dock without a name fails the list
        R"([{"id":")" + seededId(1) + R"(","name":"A","display":{}}])"};
    for (const std::string& bytes : unreadable) {
        DockWorld world;
        world.storeData("profiles.v1", bytes);
        const auto store = world.startStore();
        expectSingleEmptyMainDock(*store);
        EXPECT_EQ(world.defaults.dataValue(kCorruptKey), bytesOf(bytes)) << bytes;
        EXPECT_TRUE(store->recoveredFromUnreadableData());
        EXPECT_EQ(world.defaults.boolValue("profilesRecoveredFromUnreadableData"), true);
        EXPECT_EQ(world.storedJson("profiles.v1")[0]["name"], "Main");
    }
}

TEST(PinnedStoreLoad, AValueThatIsNotDataIsKeptAsItWas) {
    DockWorld world;
    const Json handWritten = Json::array({dockJson(1, "Typed by hand")});
    world.defaults.set("profiles.v1", handWritten);
    const auto store = world.startStore();
    expectSingleEmptyMainDock(*store);
    EXPECT_EQ(world.defaults.value(kCorruptKey), handWritten);
    EXPECT_TRUE(store->recoveredFromUnreadableData());
}

TEST(PinnedStoreLoad, CopiesInTheSameSecondTakeANumberInsteadOfReplacingTheFirst) {
    DockWorld world;
    world.storeData("profiles.v1", "first");
    world.startStore();
    world.storeData("profiles.v1", "second");
    world.advance(0.5);
    world.startStore();
    world.advance(0.5);
    world.storeData("profiles.v1", "third");
    world.startStore();
    const std::vector<std::string> keys{kCorruptKey, std::string(kCorruptKey) + ".2", "profiles.v1.corrupt.1800000001"};
    EXPECT_EQ(world.keysStartingWith("profiles.v1.corrupt."), keys);
    EXPECT_EQ(world.defaults.dataValue(kCorruptKey), bytesOf("first"));
    EXPECT_EQ(world.defaults.dataValue(std::string(kCorruptKey) + ".2"), bytesOf("second"));
}

TEST(PinnedStoreLoad, ElementsTheLenientReadingDropsAreKeptBeforeTheCleanedFormIsSaved) {
    const Json docks =
        Json::array({dockJson(1, "A", {{"items", Json::array({appJson("kept"), Json{{"dock", 1}}})}}),
                     dockJson(2, "B", {{"chord", "⌃⌘2"}}), dockJson(3, "C", {{"revealMode", "sideways"}}),
                     dockJson(4, "D", {{"addedLater", {{"opacity", 0.5}}}}), dockJson(5, "E", {{"note", nullptr}}),
                     dockJson(6, "F", {{"items", {appJson("a")}}, {"pins", {appJson("b")["app"]["_0"]}}})});
    for (const Json& dock : docks) {
        DockWorld world;
        world.storeProfiles(Json::array({dock}));
        const Bytes asFound = *world.defaults.dataValue("profiles.v1");
        const auto store = world.startStore();
        EXPECT_EQ(world.defaults.dataValue(kCorruptKey), asFound) << dock.dump();
        EXPECT_EQ(store->profiles()[0].name, dock["name"]);
        EXPECT_FALSE(store->recoveredFromUnreadableData());
        EXPECT_NE(world.defaults.dataValue("profiles.v1"), asFound);
    }

    DockWorld world;
    world.storeProfiles(Json::array({dockJson(1, "A", {{"items", Json::array({appJson("a")})}, {"chord", nullptr}})}));
    world.startStore();
    EXPECT_TRUE(world.keysStartingWith("profiles.v1.corrupt.").empty());
}

TEST(PinnedStoreLoad, TheSameUnreadableBytesAreKeptOnceHoweverOftenTheyAreMet) {
    DockWorld world;
    for (int start = 0; start < 3; ++start) {
        world.storeData("profiles.v1", "not json");
        world.startStore();
        world.advance(1);
    }
    EXPECT_EQ(world.keysStartingWith("profiles.v1.corrupt."), std::vector<std::string>{kCorruptKey});
}

TEST(PinnedStoreLoad, ARepeatedDockIdentifierIsRenewedAfterTheBytesAreKept) {
    DockWorld world;
    world.storeProfiles(Json::array(
        {visibleDock(1), dockJson(2, "B"), dockJson(1, "Twin", {{"edge", "top"}}), dockJson(2, "B again")}));
    const Bytes asFound = *world.defaults.dataValue("profiles.v1");
    auto store = world.startStore();
    EXPECT_EQ(world.defaults.dataValue(kCorruptKey), asFound);
    EXPECT_FALSE(store->recoveredFromUnreadableData());
    EXPECT_EQ(names(*store), (std::vector<std::string>{"Dock 1", "B", "Twin", "B again"}));
    const std::vector<Profile>& docks = store->profiles();
    EXPECT_EQ(docks[0].id, seededUuid(1)) << "the first keeps its identifier";
    EXPECT_EQ(docks[1].id, seededUuid(2));
    std::set<Uuid> ids;
    for (const Profile& dock : docks)
        ids.insert(dock.id);
    EXPECT_EQ(ids.size(), 4u);

    // The twin is reachable now, and the renewed identifiers are what is stored.
    store->renameProfile(docks[2].id, "Top");
    EXPECT_EQ(names(*store), (std::vector<std::string>{"Dock 1", "B", "Top", "B again"}));
    EXPECT_EQ(world.storedJson("profiles.v1")[2]["id"], docks[2].id.text());
    const Uuid twin = docks[2].id;
    store = world.startStore();
    EXPECT_EQ(store->profiles()[2].id, twin);
    EXPECT_EQ(world.keysStartingWith("profiles.v1.corrupt."), std::vector<std::string>{kCorruptKey});
}

TEST(PinnedStoreLoad, StoredNamesAreMadeOneLineAfterTheBytesAreKept) {
    DockWorld world;
    world.storeProfiles(Json::array({visibleDock(1), dockJson(2, "Line one\nLine two\tTab"),
                                     dockJson(3,
                                              "\xE2\x80\xAE"
                                              "evil")}));
    const Bytes asFound = *world.defaults.dataValue("profiles.v1");
    auto store = world.startStore();
    EXPECT_EQ(names(*store), (std::vector<std::string>{"Dock 1", "Line one Line two Tab", "evil"}));
    EXPECT_EQ(world.defaults.dataValue(kCorruptKey), asFound);
    EXPECT_EQ(world.storedJson("profiles.v1")[1]["name"], "Line one Line two Tab");
    store = world.startStore();
    EXPECT_EQ(world.defaults.writeCount("profiles.v1"), 2) << "written once, when made one line";
}

TEST(PinnedStoreLoad, TheOldestFormBecomesTheMainDockAndIsThenRemoved) {
    DockWorld world;
    world.storeData("pinnedApps", R"([{"bundleID":"a","name":"A"},{"bundleID":"b","name":"B","fallbackPath":"/b"},)"
                                  R"({"bundleID":"c","name":"C"}])");
    const auto store = world.startStore();
    ASSERT_EQ(store->profiles().size(), 1u);
    const auto& items = store->profiles()[0].items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1], PinnedItem(PinnedApp{"b", "B", "/b"}));
    EXPECT_EQ(items[2].id(), "app:c");
    EXPECT_FALSE(world.defaults.contains("pinnedApps"));
    EXPECT_FALSE(store->recoveredFromUnreadableData());

    DockWorld damaged;
    damaged.storeData("pinnedApps", R"([{"bundleID":"a"}])");
    const auto fresh = damaged.startStore();
    expectSingleEmptyMainDock(*fresh);
    EXPECT_EQ(damaged.defaults.dataValue("pinnedApps"), bytesOf(R"([{"bundleID":"a"}])"));
    EXPECT_TRUE(damaged.keysStartingWith("profiles.v1.").empty());
}

TEST(PinnedStoreLoad, MoreThanTenDocksAreCopiedWholeThenCut) {
    DockWorld world;
    Json docks = Json::array();
    for (int n = 1; n <= 12; ++n)
        docks.push_back(dockJson(n, "Dock " + std::to_string(n)));
    world.storeProfiles(docks);
    const auto store = world.startStore();
    ASSERT_EQ(store->profiles().size(), 10u);
    EXPECT_EQ(store->profiles().back().name, "Dock 10");
    EXPECT_EQ(world.storedJson("profiles.v1").size(), 10u);
    const Json overflow = world.storedJson("profiles.v1.overflow.1800000000");
    ASSERT_EQ(overflow.size(), 12u);
    EXPECT_EQ(overflow[11]["id"], seededId(12));

    // The same list again is kept once; another list gets a copy of its own.
    world.storeProfiles(docks);
    world.startStore();
    EXPECT_EQ(world.keysStartingWith("profiles.v1.overflow."),
              std::vector<std::string>{"profiles.v1.overflow.1800000000"});
    docks.push_back(dockJson(13, "Dock 13"));
    world.storeProfiles(docks);
    world.startStore();
    EXPECT_EQ(world.storedJson("profiles.v1.overflow.1800000000.2").size(), 13u);
}

TEST(PinnedStoreLoad, MultidockMigrationShowsTheFormerActiveDockOnce) {
    DockWorld world;
    Json docks = Json::array();
    for (int n = 1; n <= 3; ++n)
        docks.push_back(dockJson(n, "Dock " + std::to_string(n), {{"edge", "left"}}));
    world.storeProfiles(docks);
    world.defaults.set("activeProfileID", seededId(3));
    const auto store = world.startStore();
    const Profile& third = store->profiles()[2];
    EXPECT_TRUE(third.isVisible && third.showsWindows);
    EXPECT_EQ(third.edge, DockEdge::bottom);
    EXPECT_FALSE(store->profiles()[0].isVisible);
    for (const Profile& dock : store->profiles())
        EXPECT_TRUE(dock.isEnabled);
    EXPECT_FALSE(world.defaults.contains("activeProfileID"));
    EXPECT_EQ(world.defaults.boolValue("profiles.multidock.migrated"), true);

    // Once migrated, a store with no dock shown stays as it is.
    world.storeProfiles(docks);
    EXPECT_FALSE(world.startStore()->profiles()[2].isVisible);
}

TEST(PinnedStoreLoad, MultidockMigrationLeavesDocksAloneWhenOneIsShown) {
    DockWorld world;
    world.storeProfiles(
        Json::array({dockJson(1, "A", {{"isVisible", false}}), visibleDock(2, {{"isEnabled", false}})}));
    world.defaults.set("activeProfileID", seededId(1));
    const auto store = world.startStore();
    EXPECT_FALSE(store->profiles()[0].isVisible || store->profiles()[0].isEnabled);
    EXPECT_FALSE(store->profiles()[1].isEnabled);
    EXPECT_FALSE(world.defaults.contains("activeProfileID"));
    EXPECT_EQ(world.defaults.boolValue("profiles.multidock.migrated"), true);
}

TEST(PinnedStoreLoad, AtMostTwoVisibleDocksPerSlotEarlierOnesWin) {
    DockWorld world;
    const Json named = {{"display", {{"stableID", "16-1-7"}, {"name", "Left"}}}};
    world.storeProfiles(Json::array({visibleDock(1, {{"isEnabled", false}}), visibleDock(2), visibleDock(3),
                                     visibleDock(4, {{"display", named}}), visibleDock(5, {{"edge", "top"}})}));
    const auto store = world.startStore();
    std::vector<bool> visible;
    for (const Profile& dock : store->profiles())
        visible.push_back(dock.isVisible);
    EXPECT_EQ(visible, (std::vector<bool>{true, true, false, true, true}));
    EXPECT_FALSE(world.storedJson("profiles.v1")[2]["isVisible"]);
}

TEST(PinnedStoreLoad, FoldersAreBackedUpOnceThenFlattenedInEveryDock) {
    DockWorld world;
    const Json folder = {{"folder", {{"_0", {{"id", seededId(9)}, {"name", "Old"}, {"items", {appJson("b")}}}}}}};
    world.storeProfiles(Json::array(
        {dockJson(1, "A", {{"items", {appJson("a")}}}), dockJson(2, "B", {{"items", {folder, appJson("c")}}})}));
    const auto store = world.startStore();
    const Json backup = world.storedJson("profiles.v1.folders-backup");
    EXPECT_TRUE(backup[1]["items"][0].contains("folder"));
    ASSERT_EQ(store->profiles()[1].items.size(), 2u);
    EXPECT_EQ(store->profiles()[1].items[0].id(), "app:b");

    // An existing backup is never replaced; a start without folders touches nothing.
    world.defaults.resetWriteCounts();
    world.storeProfiles(Json::array({dockJson(1, "A", {{"items", {folder}}})}));
    world.startStore();
    world.startStore();
    EXPECT_EQ(world.defaults.writeCount("profiles.v1.folders-backup"), 0);
    EXPECT_EQ(world.storedJson("profiles.v1.folders-backup"), backup);
}

TEST(PinnedStoreLoad, DuplicatesAreRemovedWithinADockNotAcrossDocks) {
    DockWorld world;
    world.storeProfiles(Json::array({dockJson(1, "A", {{"items", {appJson("x"), appJson("y"), appJson("x")}}}),
                                     dockJson(2, "B", {{"items", {appJson("x")}}})}));
    const auto store = world.startStore();
    EXPECT_EQ(store->profiles()[0].items.size(), 2u);
    EXPECT_EQ(store->profiles()[1].items.size(), 1u);
    EXPECT_EQ(names(*store), (std::vector<std::string>{"A", "B"}));
}

TEST(PinnedStoreLoad, RecoveryNoticeLastsUntilAcknowledged) {
    DockWorld world;
    world.defaults.set("profilesRecoveredFromUnreadableData", true);
    world.storeProfiles(Json::array({visibleDock(1)}));
    const auto store = world.startStore();
    EXPECT_TRUE(store->recoveredFromUnreadableData());

    int notices = 0;
    const auto subscription = store->recoveredFromUnreadableDataChanged.connect([&] { ++notices; });
    store->acknowledgeRecovery();
    store->acknowledgeRecovery();
    EXPECT_FALSE(store->recoveredFromUnreadableData());
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(world.defaults.boolValue("profilesRecoveredFromUnreadableData"), false);
    EXPECT_EQ(world.defaults.writeCount("profilesRecoveredFromUnreadableData"), 2);
}

TEST(PinnedStoreLoad, AStartSavesTheDocksOnlyWhenTheirStoredFormChanges) {
    DockWorld world;
    world.startStore();
    world.startStore();
    EXPECT_EQ(world.defaults.writeCount("profiles.v1"), 1);
}

TEST(PinnedStoreLoad, DuplicatesThatDifferAreKeptOnceBeforeTheyAreRemoved) {
    DockWorld world;
    Json located = {{"location", {{"_0", {{"id", seededId(7)}, {"name", "Work"}, {"path", "/w"}}}}}};
    Json renamed = located;
    renamed["location"]["_0"]["name"] = "Projects";
    renamed["location"]["_0"]["id"] = seededId(8);
    world.storeProfiles(Json::array({dockJson(1, "A", {{"items", {appJson("x", "X"), appJson("x", "X")}}})}));
    world.startStore();
    EXPECT_TRUE(world.keysStartingWith("profiles.v1.corrupt.").empty()) << "a repeat loses nothing";

    for (const Json& items : {Json{appJson("x", "X"), appJson("x", "Renamed")}, Json{located, renamed}}) {
        DockWorld changed;
        changed.storeProfiles(Json::array({dockJson(1, "A", {{"items", items}})}));
        const Bytes asFound = *changed.defaults.dataValue("profiles.v1");
        const auto store = changed.startStore();
        EXPECT_EQ(store->profiles()[0].items.size(), 1u);
        EXPECT_EQ(changed.defaults.dataValue(kCorruptKey), asFound) << items.dump();
        changed.advance(5);
        changed.startStore();
        EXPECT_EQ(changed.keysStartingWith("profiles.v1.corrupt.").size(), 1u) << "the saved form has no duplicate";
    }

    DockWorld legacy;
    const std::string apps = R"([{"bundleID":"x","name":"X"},{"bundleID":"x","name":"Other"}])";
    legacy.storeData("pinnedApps", apps);
    legacy.startStore();
    EXPECT_EQ(legacy.defaults.dataValue("pinnedApps.corrupt.1800000000"), bytesOf(apps));
}

TEST(PinnedStoreLoad, DeepNestingIsUnreadableAndKept) {
    DockWorld world;
    std::string folders;
    for (std::size_t level = 0; level <= kMaxFolderDepth; ++level)
        folders += R"({"folder":{"_0":{"id":")" + seededId(1) + R"(","name":"G","items":[)";
    folders += appJson("deep").dump();
    for (std::size_t level = 0; level <= kMaxFolderDepth; ++level)
        folders += "]}}}";
    const std::string docks =
        R"([{"id":")" + seededId(1) + R"(","name":"A","items":[)" + appJson("kept").dump() + "," + folders + "]}]";
    world.storeData("profiles.v1", docks);
    const auto store = world.startStore();
    ASSERT_EQ(store->profiles()[0].items.size(), 1u) << "the folders nested too deep are an unreadable item";
    EXPECT_EQ(store->profiles()[0].items[0].id(), "app:kept");
    EXPECT_EQ(world.defaults.dataValue(kCorruptKey), bytesOf(docks));
    EXPECT_FALSE(store->recoveredFromUnreadableData());

    DockWorld arrays;
    const std::string nested = R"([{"id":")" + seededId(1) + R"(","name":"A","unknown":)" + std::string(100'000, '[') +
                               std::string(100'000, ']') + "}]";
    arrays.storeData("profiles.v1", nested);
    const auto recovered = arrays.startStore();
    EXPECT_TRUE(recovered->recoveredFromUnreadableData());
    EXPECT_EQ(arrays.defaults.dataValue(kCorruptKey), bytesOf(nested));
}
