#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

constexpr RectBL kLeft{0, 0, 1280, 1080};
constexpr RectBL kRight{1280, 0, 1280, 1080};

}  // namespace

TEST(X11Screens, TwoMonitorsInScreenSpaceWithIdentities) {
    Backends x;
    const std::vector<ScreenInfo> screens = x.screens.screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].name, "Q-LEFT");
    EXPECT_EQ(screens[0].frame, kLeft);
    EXPECT_EQ(screens[1].name, "Q-RIGHT");
    EXPECT_EQ(screens[1].frame, kRight);
    for (const ScreenInfo& s : screens) {
        EXPECT_EQ(s.visibleFrame, s.frame) << "no struts yet";
        ASSERT_TRUE(s.id.has_value());
        EXPECT_EQ(s.scale, 1);
    }
    EXPECT_NE(*screens[0].id, *screens[1].id);
    // Xvfb gives no EDID: the left monitor is on the output "screen"; the right one has
    // no output and goes by its own name.
    EXPECT_EQ(screens[0].stableId, "screen");
    EXPECT_EQ(screens[1].stableId, "Q-RIGHT");
}

TEST(X11Screens, AStrutShrinksOnlyTheMonitorItStandsOn) {
    Backends x;
    int changes = 0;
    Subscription watch = x.screens.onChanged([&] { ++changes; });
    // A 30 pixel bar along the top of the right monitor only.
    TestClient bar({"--class", "topbar", "--geometry", "1280x30+1280+0", "--strut", "0,0,30,0,0,0,0,0,1280,2559,0,0"});
    ASSERT_TRUE(bar.started());
    ASSERT_TRUE(spinUntil([&] { return x.screens.screens().at(1).visibleFrame == RectBL{1280, 0, 1280, 1050}; }));
    EXPECT_EQ(x.screens.screens().at(0).visibleFrame, kLeft);
    EXPECT_GE(changes, 1);

    // A panel on the left edge of the right monitor reserves from the root's left edge,
    // across the seam: it still shrinks only the monitor it is on.
    TestClient side(
        {"--class", "sidebar", "--geometry", "40x600+1280+200", "--strut", "1320,0,0,0,200,799,0,0,0,0,0,0"});
    ASSERT_TRUE(side.started());
    ASSERT_TRUE(spinUntil([&] { return x.screens.screens().at(1).visibleFrame == RectBL{1320, 0, 1240, 1050}; }));
    EXPECT_EQ(x.screens.screens().at(0).visibleFrame, kLeft);
}

TEST(X11Screens, RemovingAndReaddingAMonitorIsReportedOnceEach) {
    Backends x;
    const std::vector<ScreenInfo> before = x.screens.screens();
    ASSERT_EQ(before.size(), 2u);
    int changes = 0;
    Subscription watch = x.screens.onChanged([&] { ++changes; });

    ASSERT_EQ(run({"xrandr", "--delmonitor", "Q-RIGHT"}), 0);
    ASSERT_TRUE(spinUntil([&] { return changes == 1; }));
    ASSERT_EQ(x.screens.screens().size(), 1u);
    EXPECT_EQ(x.screens.screens()[0].frame, kLeft);
    spinFor(300);
    EXPECT_EQ(changes, 1);

    ASSERT_EQ(run({"xrandr", "--setmonitor", "Q-RIGHT", "1280/338x1080/285+1280+0", "none"}), 0);
    ASSERT_TRUE(spinUntil([&] { return changes == 2; }));
    spinFor(300);
    EXPECT_EQ(changes, 2);
    const std::vector<ScreenInfo> after = x.screens.screens();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[1].frame, kRight);
    EXPECT_EQ(after[1].stableId, before[1].stableId) << "a dock assigned to it finds it again";
}
