#include <gtest/gtest.h>

#include "core/dock/DockFrames.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

using testing::onDisplay;

constexpr RectBL kVisible{100, 40, 1600, 1000};

class Frames : public ::testing::Test {
protected:
    DockFrameInputs inputs(double tile, bool labels = false) {
        DockFrameInputs result;
        result.tileSize = tile;
        result.showsLabels = labels;
        result.isTrusted = trusted;
        result.windows = windows;
        result.transientApps = [this](std::span<const WindowInfo> shown, const std::set<std::string>& excluded) {
            askedWindows.assign(shown.begin(), shown.end());
            askedOwners = excluded;
            return transient;
        };
        return result;
    }

    bool trusted = true;
    std::size_t transient = 0;
    std::vector<WindowInfo> windows;
    std::vector<WindowInfo> askedWindows;
    std::set<std::string> askedOwners;
};

TEST_F(Frames, AnEmptyDockCountsTwoCellsAndTheMinimumLength) {
    const RectBL frame = dockFrame(kVisible, simDock(1, DockEdge::bottom), 1, 0, inputs(48));
    EXPECT_EQ(frame, (RectBL{900 - 90, 54, 180, 90}));
}

TEST_F(Frames, EachEdgeHugsItsSideOfTheVisibleFrame) {
    const DockFrameInputs in = inputs(48, true);
    // Five items with labels: 5 x 48 + 4 x 8 + 36 along a horizontal edge.
    EXPECT_EQ(dockFrame(kVisible, simDock(1, DockEdge::bottom, {}, 5), 1, 0, in), (RectBL{900 - 154, 54, 308, 109}));
    EXPECT_EQ(dockFrame(kVisible, simDock(1, DockEdge::top, {}, 5), 1, 0, in),
              (RectBL{900 - 154, 1040 - 109 - 14, 308, 109}));
    // A vertical cell is 52 with labels: 5 x 52 + 32 + 36 + 20.
    EXPECT_EQ(dockFrame(kVisible, simDock(1, DockEdge::left, {}, 5), 1, 0, in), (RectBL{114, 540 - 174, 72, 348}));
    EXPECT_EQ(dockFrame(kVisible, simDock(1, DockEdge::right, {}, 5), 1, 0, in),
              (RectBL{1700 - 72 - 14, 540 - 174, 72, 348}));
    // Without labels a vertical cell is 12 shorter than the tile, a horizontal dock thinner.
    EXPECT_EQ(dockFrame(kVisible, simDock(1, DockEdge::left, {}, 5), 1, 0, inputs(48)).height,
              5 * 36 + 4 * 8 + 36 + 20);
    EXPECT_EQ(dockFrame(kVisible, simDock(1, DockEdge::bottom, {}, 5), 1, 0, inputs(48)).height, 90);
}

TEST_F(Frames, AlignmentPlacesTheDockAlongItsEdge) {
    Profile bottom = simDock(1, DockEdge::bottom, {}, 5);
    Profile left = simDock(2, DockEdge::left, {}, 5);
    bottom.alignment = left.alignment = DockAlignment::leading;
    EXPECT_EQ(dockFrame(kVisible, bottom, 1, 0, inputs(48)).x, 114);
    EXPECT_EQ(dockFrame(kVisible, left, 1, 0, inputs(48)).maxY(), 1040 - 14);
    bottom.alignment = left.alignment = DockAlignment::trailing;
    EXPECT_EQ(dockFrame(kVisible, bottom, 1, 0, inputs(48)).maxX(), 1700 - 14);
    EXPECT_EQ(dockFrame(kVisible, left, 1, 0, inputs(48)).y, 54);
}

TEST_F(Frames, TheTileSizeScalesLengthAndThickness) {
    const RectBL frame = dockFrame(kVisible, simDock(1, DockEdge::bottom, {}, 10), 1, 0, inputs(62));
    EXPECT_EQ(frame.width, 10 * 62 + 9 * 8 + 36);
    EXPECT_EQ(frame.height, 62 + 10 + 32);
    EXPECT_EQ(dockFrame(kVisible, simDock(1, DockEdge::right, {}, 1), 1, 0, inputs(62)).width, 62 + 24);
}

TEST_F(Frames, RunningApplicationsOfTheDisplayFollowTheItemsBehindASeparator) {
    Profile profile = simDock(1, DockEdge::bottom, {}, 5);
    profile.showsWindows = true;
    for (const auto& [id, display] : {std::pair{1u, 1u}, {2u, 2u}, {3u, 1u}}) {
        WindowInfo window;
        window.id = id;
        window.pid = Pid(10 + id);
        window.displayID = display;
        windows.push_back(window);
    }
    transient = 3;
    EXPECT_EQ(dockFrame(kVisible, profile, 1, 0, inputs(48)).width, 8 * 48 + 7 * 8 + 12 + 36);
    ASSERT_EQ(askedWindows.size(), 2u);
    EXPECT_EQ(askedWindows[0].id, 1u);
    EXPECT_EQ(askedWindows[1].id, 3u);
    EXPECT_EQ(askedOwners, (std::set<std::string>{"app1.0", "app1.1", "app1.2", "app1.3", "app1.4"}));

    // Without items there is no separator.
    EXPECT_EQ(dockFrame(kVisible, simDock(2, DockEdge::bottom), 1, 0, inputs(48)).width, 180);
    Profile empty = simDock(2, DockEdge::bottom);
    empty.showsWindows = true;
    EXPECT_EQ(dockFrame(kVisible, empty, 1, 0, inputs(48)).width, 3 * 48 + 2 * 8 + 36);
}

TEST_F(Frames, WithoutWindowAccessTheDockMakesRoomForTheAccessButton) {
    trusted = false;
    transient = 3;
    Profile empty = simDock(1, DockEdge::bottom);
    empty.showsWindows = true;
    EXPECT_EQ(dockFrame(kVisible, empty, 1, 0, inputs(48)).width, 206);
    Profile five = simDock(2, DockEdge::bottom, {}, 5);
    five.showsWindows = true;
    EXPECT_EQ(dockFrame(kVisible, five, 1, 0, inputs(48)).width, 308 + 170);
    EXPECT_TRUE(askedOwners.empty()) << "running applications are not listed without access";
    // A dock that shows no windows needs no button.
    EXPECT_EQ(dockFrame(kVisible, simDock(3, DockEdge::bottom, {}, 5), 1, 0, inputs(48)).width, 308);
}

TEST_F(Frames, ASmallScreenClampsTheDockInsideItsMargins) {
    const RectBL narrow{0, 0, 300, 120};
    const RectBL frame = dockFrame(narrow, simDock(1, DockEdge::bottom, {}, 10), 1, 0, inputs(48));
    EXPECT_EQ(frame, (RectBL{14, 14, 272, 90}));
    const RectBL left = dockFrame(narrow, simDock(1, DockEdge::left, {}, 10), 1, 0, inputs(48));
    EXPECT_EQ(left, (RectBL{14, 14, 72, 92}));
}

TEST_F(Frames, ADockOfTheDisplayHugsTheEdgeAndADockOfEveryDisplayStandsOutside) {
    const std::vector<Profile> docks{simDock(1, DockEdge::bottom), simDock(2, DockEdge::bottom, onDisplay("S"), 5)};
    const std::vector<StackedFrame> stacked = stackedFrames(docks, kVisible, 1, "S", inputs(48));
    ASSERT_EQ(stacked.size(), 2u);
    EXPECT_EQ(stacked[0].profile.id, docks[1].id);
    EXPECT_EQ(stacked[0].frame.y, 54);
    EXPECT_EQ(stacked[1].profile.id, docks[0].id);
    EXPECT_EQ(stacked[1].frame.y, 54 + 90 + 6);

    const std::vector<Profile> left{simDock(1, DockEdge::left, {}, 2), simDock(2, DockEdge::left, {}, 2)};
    const std::vector<StackedFrame> vertical = stackedFrames(left, kVisible, 1, "S", inputs(48));
    ASSERT_EQ(vertical.size(), 2u);
    EXPECT_EQ(vertical[0].profile.id, left[0].id);
    EXPECT_EQ(vertical[1].frame.x, 114 + 72 + 6);
}

TEST_F(Frames, OnlyTwoDocksOfAnEdgeStandAndOtherDisplaysDocksStandElsewhere) {
    const std::vector<Profile> docks{simDock(1, DockEdge::bottom),
                                     simDock(2, DockEdge::bottom),
                                     simDock(3, DockEdge::bottom, onDisplay("S")),
                                     simDock(4, DockEdge::bottom, onDisplay("S")),
                                     simDock(5, DockEdge::top, onDisplay("T")),
                                     simDock(6, DockEdge::top)};
    const std::vector<StackedFrame> onS = stackedFrames(docks, kVisible, 1, "S", inputs(48));
    std::vector<Uuid> ids;
    for (const StackedFrame& entry : onS)
        ids.push_back(entry.profile.id);
    EXPECT_EQ(ids, (std::vector<Uuid>{docks[2].id, docks[3].id, docks[5].id}));

    const std::vector<StackedFrame> onT = stackedFrames(docks, kVisible, 2, "T", inputs(48));
    ids.clear();
    for (const StackedFrame& entry : onT)
        ids.push_back(entry.profile.id);
    EXPECT_EQ(ids, (std::vector<Uuid>{docks[0].id, docks[1].id, docks[4].id, docks[5].id}));
    // The stored display name plays no part, the identifier is compared exactly.
    EXPECT_TRUE(
        stackedFrames(std::vector<Profile>{simDock(7, DockEdge::left, onDisplay("s"))}, kVisible, 1, "S", inputs(48))
            .empty());
}

}  // namespace
}  // namespace quillbern
