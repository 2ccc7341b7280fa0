#include <gtest/gtest.h>

#include "core/dock/KnockGlint.h"
#include "core/dock/PreviewPlacement.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

using reveal::EdgeRange;

// 1920 x 1080 with a 30-point bar at the top.
const ScreenInfo kScreen = testing::twoScreens()[0];
// 1280 x 1024 beside it, at x 1920.
const ScreenInfo kBeside = testing::twoScreens()[1];

TEST(GlintFrame, LiesAlongEachEdgeWhereTheHiddenDocksStandTwoPointsInAndSixteenThick) {
    EXPECT_EQ(glint::frame(DockEdge::bottom, EdgeRange{870, 1050}, kScreen), (RectBL{870, 2, 180, 16}));
    // Just under the bar at the top.
    EXPECT_EQ(glint::frame(DockEdge::top, EdgeRange{870, 1050}, kScreen), (RectBL{870, 1032, 180, 16}));
    EXPECT_EQ(glint::frame(DockEdge::left, EdgeRange{400, 600}, kScreen), (RectBL{2, 400, 16, 200}));
    EXPECT_EQ(glint::frame(DockEdge::right, EdgeRange{400, 600}, kBeside), (RectBL{3182, 400, 16, 200}));
}

TEST(GlintFrame, KeepsBetweenItsShortestAndLongestAndFourPointsInFromTheScreensEnds) {
    // A short dock: 120 long, centred on it.
    EXPECT_EQ(glint::frame(DockEdge::bottom, EdgeRange{900, 960}, kScreen), (RectBL{870, 2, 120, 16}));
    // A long one: 320, centred.
    EXPECT_EQ(glint::frame(DockEdge::bottom, EdgeRange{200, 1400}, kScreen), (RectBL{640, 2, 320, 16}));
    // Near the ends of the screen.
    EXPECT_EQ(glint::frame(DockEdge::bottom, EdgeRange{0, 100}, kScreen), (RectBL{4, 2, 120, 16}));
    EXPECT_EQ(glint::frame(DockEdge::bottom, EdgeRange{1880, 1920}, kScreen), (RectBL{1796, 2, 120, 16}));
    EXPECT_EQ(glint::frame(DockEdge::left, EdgeRange{1000, 1080}, kScreen), (RectBL{2, 956, 16, 120}));
    // Nothing known of the docks: 240 at the middle of the edge.
    EXPECT_EQ(glint::frame(DockEdge::bottom, std::nullopt, kScreen), (RectBL{840, 2, 240, 16}));
    EXPECT_EQ(glint::frame(DockEdge::right, std::nullopt, kBeside), (RectBL{3182, 392, 16, 240}));
}

constexpr RectBL kBottomDock{870, 14, 180, 90};

TEST(PreviewFrame, StandsBesideTheDockOnEachEdgeCentredOnThePointer) {
    const std::optional<RectBL> vf = kScreen.visibleFrame;
    EXPECT_EQ(preview::frame(DockEdge::bottom, {960, 50}, kBottomDock, vf), (RectBL{790, 110, 340, 250}));
    EXPECT_EQ(preview::frame(DockEdge::top, {960, 1000}, RectBL{870, 946, 180, 90}, vf), (RectBL{790, 690, 340, 250}));
    EXPECT_EQ(preview::frame(DockEdge::left, {50, 540}, RectBL{14, 450, 90, 180}, vf), (RectBL{110, 415, 340, 250}));
    EXPECT_EQ(preview::frame(DockEdge::right, {1870, 540}, RectBL{1816, 450, 90, 180}, vf),
              (RectBL{1470, 415, 340, 250}));
}

TEST(PreviewFrame, StaysEightPointsInsideTheVisibleFrameWhenKnown) {
    const std::optional<RectBL> vf = kScreen.visibleFrame;
    const RectBL nearLeft{14, 14, 180, 90};
    EXPECT_EQ(preview::frame(DockEdge::bottom, {20, 50}, nearLeft, vf), (RectBL{8, 110, 340, 250}));
    EXPECT_EQ(preview::frame(DockEdge::bottom, {1915, 50}, RectBL{1700, 14, 180, 90}, vf),
              (RectBL{1572, 110, 340, 250}));
    // Under the bar at the top for a left dock reaching up there.
    EXPECT_EQ(preview::frame(DockEdge::left, {50, 1040}, RectBL{14, 800, 90, 240}, vf), (RectBL{110, 792, 340, 250}));
    // Without a screen, nothing keeps it in.
    EXPECT_EQ(preview::frame(DockEdge::bottom, {20, 50}, nearLeft, std::nullopt), (RectBL{-150, 110, 340, 250}));
}

TEST(PreviewFrame, GoesToTheDocksOtherSideOnlyWhereItFitsThere) {
    // A short screen: above a bottom dock there is no room, so the clamp pushes the card
    // onto the dock; below it there is none either, and the card stays on screen.
    const RectBL shortScreen{0, 0, 1920, 300};
    EXPECT_EQ(preview::frame(DockEdge::bottom, {960, 50}, kBottomDock, shortScreen), (RectBL{790, 42, 340, 250}));
    // A top dock low on a tall visible frame: the card fits above it instead.
    const RectBL tall{0, 0, 1280, 1000};
    EXPECT_EQ(preview::frame(DockEdge::top, {640, 300}, RectBL{550, 200, 180, 90}, tall), (RectBL{470, 296, 340, 250}));
    // A right dock whose left side is too narrow, with room on its right.
    const RectBL wide{0, 0, 1280, 1000};
    EXPECT_EQ(preview::frame(DockEdge::right, {300, 500}, RectBL{200, 400, 90, 180}, wide),
              (RectBL{296, 375, 340, 250}));
}

}  // namespace
}  // namespace quillbern
