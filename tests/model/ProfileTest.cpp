#include <gtest/gtest.h>

#include "DockModelSupport.h"
#include "core/model/Profile.h"
#include "core/model/StoredProfiles.h"

using namespace quillbern;

namespace {

Result<ReadProfile, DecodingError> readDock(Json members) {
    return decodeJson<ReadProfile>(dockJson(1, "Work", std::move(members)));
}

Profile readable(Json members) {
    const auto read = readDock(std::move(members));
    EXPECT_TRUE(read.ok()) << (read.ok() ? "" : read.error().description());
    return read.ok() ? read.value().profile : Profile{};
}

}  // namespace

TEST(Profile, MissingMembersTakeTheirDefaults) {
    const Profile dock = readable(Json::object());
    EXPECT_EQ(dock.id, seededUuid(1));
    EXPECT_EQ(dock.name, "Work");
    EXPECT_TRUE(dock.items.empty());
    EXPECT_EQ(dock.edge, DockEdge::bottom);
    EXPECT_TRUE(dock.display.isAll());
    EXPECT_FALSE(dock.isVisible || dock.isEnabled || dock.showsWindows);
    EXPECT_EQ(dock.revealMode, RevealMode::hover);
    EXPECT_EQ(dock.alignment, DockAlignment::center);
    EXPECT_FALSE(dock.chord.has_value());
    EXPECT_FALSE(decodeJson<ReadProfile>(Json{{"id", seededId(1)}}).ok());
    EXPECT_FALSE(decodeJson<ReadProfile>(Json{{"id", "nope"}, {"name", "A"}}).ok());
}

TEST(Profile, EnabledFollowsVisibleOnlyWhenAbsent) {
    EXPECT_TRUE(readable({{"isVisible", true}}).isEnabled);
    EXPECT_FALSE(readable({{"isVisible", false}}).isEnabled);
    EXPECT_FALSE(readable({{"isVisible", true}, {"isEnabled", false}}).isEnabled);
    EXPECT_TRUE(readable({{"isVisible", false}, {"isEnabled", true}}).isEnabled);
    EXPECT_FALSE(readDock({{"isVisible", "yes"}}).ok());
}

TEST(Profile, UnknownRevealModeAndAlignmentFallBackButAnUnknownEdgeFails) {
    const auto lenient = readDock({{"revealMode", "Knock"}, {"alignment", "middle"}});
    ASSERT_TRUE(lenient.ok());
    EXPECT_EQ(lenient.value().profile.revealMode, RevealMode::hover);
    EXPECT_EQ(lenient.value().profile.alignment, DockAlignment::center);
    EXPECT_EQ(lenient.value().dropped, 2u);

    const auto exact = readDock({{"revealMode", "knock"}, {"alignment", "trailing"}, {"edge", "left"}});
    ASSERT_TRUE(exact.ok());
    EXPECT_EQ(exact.value().profile.revealMode, RevealMode::knock);
    EXPECT_EQ(exact.value().profile.alignment, DockAlignment::trailing);
    EXPECT_EQ(exact.value().profile.edge, DockEdge::left);
    EXPECT_EQ(exact.value().dropped, 0u);

    EXPECT_FALSE(readDock({{"edge", "Bottom"}}).ok());
    EXPECT_FALSE(readDock({{"edge", 0}}).ok());
    EXPECT_FALSE(readDock({{"revealMode", 1}}).ok());
    EXPECT_FALSE(readDock({{"alignment", true}}).ok());
}

TEST(Profile, ItemsWinOverTheOlderPinsWhichAreReadStrictly) {
    const Json pins = Json::array({{{"bundleID", "a"}, {"name", "A"}}, {{"bundleID", "b"}, {"name", "B"}}});
    EXPECT_EQ(readable({{"items", Json::array({appJson("c")})}, {"pins", pins}}).items.size(), 1u);
    const Profile fromPins = readable({{"pins", pins}, {"items", nullptr}});
    ASSERT_EQ(fromPins.items.size(), 2u);
    EXPECT_EQ(fromPins.items[1].id(), "app:b");
    EXPECT_FALSE(readDock({{"pins", Json::array({{{"bundleID", "a"}}})}}).ok());
    EXPECT_FALSE(readDock({{"items", "none"}}).ok());

    const auto lossy = readDock({{"items", Json::array({appJson("a"), Json{{"dock", 1}}, appJson("b")})}});
    ASSERT_TRUE(lossy.ok());
    EXPECT_EQ(lossy.value().profile.items.size(), 2u);
    EXPECT_EQ(lossy.value().dropped, 1u);
}

TEST(Profile, AnUnreadableChordLeavesTheDockWithoutOne) {
    for (const Json& chord : {Json("⌃⌘1"), Json{{"keyCode", 18}}, Json{{"keyCode", 18}, {"modifiers", -1}},
                              Json{{"keyCode", 4294967296u}, {"modifiers", 4352}}}) {
        const auto read = readDock({{"chord", chord}, {"isVisible", true}});
        ASSERT_TRUE(read.ok()) << chord.dump();
        EXPECT_FALSE(read.value().profile.chord.has_value()) << chord.dump();
        EXPECT_TRUE(read.value().profile.isVisible);
        EXPECT_EQ(read.value().dropped, 1u);
    }
    const auto chord = readable({{"chord", {{"keyCode", 4294967295u}, {"modifiers", 4352}}}}).chord;
    EXPECT_EQ(chord, (HotKeyChord{4294967295u, 4352}));
    EXPECT_EQ(readDock({{"chord", nullptr}}).value().dropped, 0u);
}

TEST(Profile, DisplayAssignmentNeedsExactlyOneCase) {
    for (const Json& display :
         {Json{{"all", Json::object()}, {"display", {{"stableID", "1"}, {"name", "A"}}}}, Json::object()}) {
        const auto read = readDock({{"display", display}});
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.error().description(), "Invalid number of keys found, expected one.");
        EXPECT_EQ(read.error().kind(), DecodingError::Kind::typeMismatch);
    }
    EXPECT_TRUE(readable({{"display", {{"all", Json::object()}, {"main", 1}}}}).display.isAll());
    EXPECT_FALSE(readDock({{"display", {{"all", true}}}}).ok());
    EXPECT_FALSE(readDock({{"display", {{"display", {{"stableID", "1"}}}}}}).ok());
    EXPECT_EQ(readable({{"display", {{"display", {{"stableID", "16-1-7"}, {"name", "Left"}}}}}}).display,
              DisplayAssignment::display("16-1-7", "Left"));

    const auto left = DisplayAssignment::display("16-1-7", "Left");
    const auto renamed = DisplayAssignment::display("16-1-7", "DELL U2720Q");
    EXPECT_NE(left, renamed);
    EXPECT_TRUE(left.sameSlot(renamed));
    EXPECT_FALSE(left.sameSlot(DisplayAssignment::all()));
}

TEST(Profile, WritesItsMembersInOrderWithoutPinsOrAbsentChord) {
    Profile dock;
    dock.id = seededUuid(1);
    dock.name = "Work";
    dock.items = {PinnedApp{"a", "A", std::nullopt}, PinnedTrash{seededUuid(2)}};
    dock.edge = DockEdge::right;
    dock.display = DisplayAssignment::display("16-1-7", "Left");
    dock.isVisible = true;
    dock.revealMode = RevealMode::knock;
    dock.alignment = DockAlignment::leading;

    EXPECT_EQ(written(dock), R"({"id":")" + seededId(1) +
                                 R"(","name":"Work","items":[{"app":{"_0":{"bundleID":"a","name":"A"}}},)"
                                 R"({"trash":{"_0":{"id":")" +
                                 seededId(2) +
                                 R"("}}}],"edge":"right","display":{"display":{"stableID":"16-1-7","name":"Left"}},)"
                                 R"("isVisible":true,"isEnabled":false,"showsWindows":false,"revealMode":"knock",)"
                                 R"("alignment":"leading"})");

    dock.chord = HotKeyChord{18, 0x1100};
    dock.name = "Quote \" \\ and\ttab\x01 ✓";
    EXPECT_TRUE(written(dock).ends_with(R"("chord":{"keyCode":18,"modifiers":4352}})"));
    EXPECT_NE(written(dock).find(Json(dock.name).dump()), std::string::npos);  // escaped as JSON does
    const auto read = decodeJson<ReadProfile>(Json::parse(written(dock)));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().profile, dock);
    EXPECT_EQ(read.value().dropped, 0u);
}

TEST(StoredProfiles, TextThatIsNotUtf8CannotBeStored) {
    Profile dock;
    dock.name = "Dock";
    EXPECT_TRUE(StoredProfiles::encode({dock}).ok());
    dock.items = {PinnedLocation{seededUuid(1), "Caf\xE9", "/srv/caf\xE9"}};
    EXPECT_FALSE(StoredProfiles::encode({dock}).ok());
}

TEST(Profile, AllAppsOpensFolders) {
    Profile dock;
    dock.items = {PinnedApp{"a", "A", std::nullopt}, PinnedTrash{seededUuid(1)},
                  PinnedFolder{seededUuid(2), "F", {PinnedApp{"b", "B", std::nullopt}}}};
    const auto apps = dock.allApps();
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_EQ(apps[1].bundleID, "b");
}
