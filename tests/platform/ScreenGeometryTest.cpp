#include <gtest/gtest.h>

#include "core/platform/DisplayIdentity.h"
#include "core/platform/ScreenGeometry.h"

using namespace quillbern;

namespace {

ScreenInfo screen(std::string name, RectBL frame) {
    ScreenInfo info;
    info.name = std::move(name);
    info.frame = frame;
    info.visibleFrame = frame;
    return info;
}

}  // namespace

TEST(DesktopSpace, ConvertsPixelRowsAndPointsAtTheEdgesOfThePrimary) {
    // Two 1280x1080 monitors side by side, the primary at the desktop origin.
    const DesktopSpace space(RectTL{0, 0, 1280, 1080});
    // The whole primary and the right-hand monitor.
    EXPECT_EQ(space.toScreen(RectTL{0, 0, 1280, 1080}), (RectBL{0, 0, 1280, 1080}));
    EXPECT_EQ(space.toScreen(RectTL{1280, 0, 1280, 1080}), (RectBL{1280, 0, 1280, 1080}));
    // The top pixel row of the desktop is the top row of screen space, the bottom row is y 0.
    EXPECT_EQ(space.toScreen(RectTL{10, 0, 100, 1}), (RectBL{10, 1079, 100, 1}));
    EXPECT_EQ(space.toScreen(RectTL{10, 1079, 100, 1}), (RectBL{10, 0, 100, 1}));
    // Points flip without the minus one: the bottom pixel row reads y = 1 and lies inside
    // the display by the pointer rule; the top row reads 1080 and lies inside too.
    EXPECT_EQ(space.toScreen(PointTL{0, 1079}), (PointBL{0, 1}));
    EXPECT_EQ(space.toScreen(PointTL{2559, 0}), (PointBL{2559, 1080}));
    EXPECT_TRUE(mouseInRect(space.toScreen(PointTL{0, 1079}), RectBL{0, 0, 1280, 1080}));
    EXPECT_TRUE(mouseInRect(space.toScreen(PointTL{0, 0}), RectBL{0, 0, 1280, 1080}));
}

TEST(DesktopSpace, PrimaryAwayFromTheDesktopOriginDefinesBothGlobalSpaces) {
    // The primary is the right-hand monitor; a taller monitor stands on its left, reaching
    // 200 below it.
    const DesktopSpace space(RectTL{1920, 0, 1280, 1080});
    EXPECT_EQ(space.toScreen(RectTL{1920, 0, 1280, 1080}), (RectBL{0, 0, 1280, 1080}));
    EXPECT_EQ(space.toScreen(RectTL{0, 0, 1920, 1280}), (RectBL{-1920, -200, 1920, 1280}));
    EXPECT_EQ(space.toGlobal(RectTL{0, 0, 1920, 1280}), (RectTL{-1920, 0, 1920, 1280}));
    EXPECT_EQ(space.toScreen(PointTL{1920, 1080}), (PointBL{0, 0}));
    EXPECT_EQ(space.fromGlobal(PointTL{-1920, 5}), (PointTL{0, 5}));
    EXPECT_EQ(space.fromGlobal(space.toGlobal(RectTL{17, 23, 1, 1}).origin()), (PointTL{17, 23}));
    // Converting back lands on the same desktop rectangle.
    for (const RectTL r : {RectTL{1920, 0, 1280, 1080}, RectTL{0, 1279, 5, 1}, RectTL{3199, 1079, 1, 1}}) {
        EXPECT_EQ(space.toDesktop(space.toScreen(r)), r);
    }
}

TEST(ScreenGeometry, FlipHeightAndTheDisplayUnderAPointAtSeamsAndEdges) {
    EXPECT_EQ(flipHeight({}), 0);
    EXPECT_EQ(screenContaining(PointBL{1, 1}, {}), nullptr);

    const std::vector<ScreenInfo> screens = {screen("left", {0, 0, 1280, 1080}),
                                             screen("right", {1280, -100, 1920, 1200})};
    EXPECT_EQ(flipHeight(screens), 1080);
    const auto nameAt = [&](PointBL p) {
        const ScreenInfo* s = screenContaining(p, screens);
        return s ? s->name : std::string("none");
    };
    EXPECT_EQ(nameAt({1279.5, 500}), "left");
    EXPECT_EQ(nameAt({1280, 500}), "right");  // the seam belongs to the display on its right
    EXPECT_EQ(nameAt({0, 1080}), "left");     // top row: y = maxY is inside
    EXPECT_EQ(nameAt({0, 0}), "none");        // y = minY is outside
    EXPECT_EQ(nameAt({1300, -50}), "right");
    EXPECT_EQ(nameAt({2560, 1080}), "right");
    EXPECT_EQ(nameAt({3200, 500}), "none");
}

TEST(ScreenGeometry, TheBestScreenSharesTheLargestAreaAndTheFirstWinsTies) {
    const std::vector<ScreenInfo> screens = {screen("left", {0, 0, 1280, 1080}), screen("right", {1280, 0, 1280, 1080}),
                                             screen("far", {2560, 0, 1280, 1080})};
    const auto best = [&](RectBL rect) {
        const ScreenInfo* found = bestScreen(rect, screens);
        return found ? found->name : std::string("none");
    };
    EXPECT_EQ(best({100, 100, 400, 300}), "left");
    // Straddling: 100 points on the left, 300 on the right.
    EXPECT_EQ(best({1180, 100, 400, 300}), "right");
    // Equal halves: the earlier screen keeps it.
    EXPECT_EQ(best({1080, 100, 400, 300}), "left");
    EXPECT_EQ(best({2360, 100, 400, 300}), "right");
    // Touching an edge is no area; on no screen at all the first wins.
    EXPECT_EQ(best({1280, 1080, 400, 300}), "left");
    EXPECT_EQ(best({5000, 5000, 10, 10}), "left");
    EXPECT_EQ(best(RectBL::null()), "left");
    EXPECT_EQ(bestScreen({0, 0, 10, 10}, {}), nullptr);
}

TEST(StableDisplayIds, EdidNumbersInDecimalElseTheConnector) {
    EXPECT_EQ(stableDisplayIds({{MonitorEdid{0x10AC, 0xA0C4, 808530000}, "DP-1"}, {std::nullopt, "eDP-1"}}),
              (std::vector<std::string>{"4268-41156-808530000", "eDP-1"}));
    EXPECT_TRUE(stableDisplayIds({}).empty());
}

TEST(StableDisplayIds, IdenticalMonitorsAfterTheFirstGetTheirConnectorAppended) {
    const MonitorEdid twin{7789, 4097, 0};
    EXPECT_EQ(
        stableDisplayIds({{twin, "HDMI-1"}, {MonitorEdid{7789, 4097, 1}, "DP-3"}, {twin, "DP-1"}, {twin, "DP-2"}}),
        (std::vector<std::string>{"7789-4097-0", "7789-4097-1", "7789-4097-0-DP-1", "7789-4097-0-DP-2"}));
    // The first keeps the plain id whichever connector it is on, so a stored assignment
    // still finds the one monitor that had it alone.
    EXPECT_EQ(stableDisplayIds({{twin, "DP-2"}, {twin, "HDMI-1"}})[0], "7789-4097-0");
}
