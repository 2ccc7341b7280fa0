#include <gtest/gtest.h>

#include "core/dock/RevealGeometry.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

using namespace reveal;

// The two displays of the test desktop: left 1920 x 1080 with a 30-point bar at the top,
// right 1280 x 1024 beside it.
class Zones : public ::testing::Test {
protected:
    std::vector<ScreenInfo> screens = testing::twoScreens();
    const ScreenInfo& left = screens[0];
    const ScreenInfo& right = screens[1];
};

TEST_F(Zones, AFreeEdgeHasAThinStripAndTheTopEdgeTheBarAndThreePointsBelowIt) {
    EXPECT_EQ(revealZone(DockEdge::bottom, left, false, false), (RectBL{64, 0, 1792, 3}));
    EXPECT_EQ(revealZone(DockEdge::left, left, false, false), (RectBL{0, 64, 3, 952}));
    EXPECT_EQ(revealZone(DockEdge::right, right, false, false), (RectBL{3197, 64, 3, 896}));
    EXPECT_EQ(revealZone(DockEdge::top, left, false, false), (RectBL{64, 1047, 1792, 33}));
}

TEST_F(Zones, ASeamZoneReachesOntoTheNeighbourUnlessADockFacesIt) {
    EXPECT_EQ(revealZone(DockEdge::right, left, true, false), (RectBL{1908, 64, 24, 952}));
    EXPECT_EQ(revealZone(DockEdge::right, left, true, true), (RectBL{1908, 64, 12, 952}));
    EXPECT_EQ(revealZone(DockEdge::left, right, true, false), (RectBL{1908, 64, 24, 896}));
    EXPECT_EQ(revealZone(DockEdge::left, right, true, true), (RectBL{1920, 64, 12, 896}));
    EXPECT_EQ(revealZone(DockEdge::bottom, left, true, false), (RectBL{64, -12, 1792, 24}));
    EXPECT_EQ(revealZone(DockEdge::top, left, true, false), (RectBL{64, 1047, 1792, 45}));
}

TEST_F(Zones, TheNeighbourProbeFindsOnlyADisplayBeyondTheEdgeAlongTheSpan) {
    EXPECT_EQ(neighbourScreen(DockEdge::right, left, screens, std::nullopt), &right);
    EXPECT_EQ(neighbourScreen(DockEdge::left, right, screens, std::nullopt), &left);
    EXPECT_EQ(neighbourScreen(DockEdge::bottom, left, screens, std::nullopt), nullptr);
    EXPECT_EQ(neighbourScreen(DockEdge::left, left, screens, std::nullopt), nullptr);
    // The right display ends at 1024: a span above it finds nothing beyond the seam.
    EXPECT_EQ(neighbourScreen(DockEdge::right, left, screens, EdgeRange{1030, 1070}), nullptr);
    EXPECT_EQ(neighbourScreen(DockEdge::right, left, screens, EdgeRange{1000, 1070}), &right);
}

TEST_F(Zones, AMembersStripFollowsItsPanelAndStopsShortOfTheScreensEnds) {
    const RectBL zone{64, 0, 1792, 3};
    EXPECT_EQ(memberStrip(DockEdge::bottom, zone, {870, 14, 180, 90}, left.frame), (RectBL{858, 0, 204, 3}));
    EXPECT_EQ(memberStrip(DockEdge::bottom, zone, {14, 14, 180, 90}, left.frame), (RectBL{12, 0, 194, 3}));
    EXPECT_TRUE(memberStrip(DockEdge::bottom, zone, {1950, 14, 180, 90}, left.frame).isNull());
    EXPECT_EQ(memberStrip(DockEdge::left, {0, 64, 3, 952}, {14, 450, 86, 180}, left.frame), (RectBL{0, 438, 3, 204}));
}

TEST(RevealMotion, PanelsSlideTowardTheirEdge) {
    const RectBL frame{100, 100, 50, 20};
    EXPECT_EQ(slidToward(DockEdge::bottom, frame, kSlideDistance), (RectBL{100, 86, 50, 20}));
    EXPECT_EQ(slidToward(DockEdge::top, frame, kSlideDistance), (RectBL{100, 114, 50, 20}));
    EXPECT_EQ(slidToward(DockEdge::left, frame, kSlideDistance), (RectBL{86, 100, 50, 20}));
    EXPECT_EQ(slidToward(DockEdge::right, frame, kSlideDistance), (RectBL{114, 100, 50, 20}));
}

}  // namespace
}  // namespace quillbern
