#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

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
    auto side = std::make_unique<TestClient>(std::vector<std::string>{
        "--class", "sidebar", "--geometry", "40x600+1280+200", "--strut", "1320,0,0,0,200,799,0,0,0,0,0,0"});
    ASSERT_TRUE(side->started());
    ASSERT_TRUE(spinUntil([&] { return x.screens.screens().at(1).visibleFrame == RectBL{1320, 0, 1240, 1050}; }));
    EXPECT_EQ(x.screens.screens().at(0).visibleFrame, kLeft);

    // Gone, it gives its room back.
    side.reset();
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(1).visibleFrame == RectBL{1280, 0, 1280, 1050}; }));
}

TEST(X11Screens, AStrutOfAWindowTheWindowManagerDoesNotManageCountsToo) {
    Backends x;
    XProbe probe;
    // A bar along the bottom of the left monitor, drawn by a program the window manager
    // never manages, as a window manager's own taskbar is.
    auto bar = std::make_unique<TestClient>(std::vector<std::string>{
        "--class", "wm-bar", "--geometry", "1280x24+0+1056", "--strut", "0,0,0,24,0,0,0,0,0,0,0,1279", "--unmanaged"});
    ASSERT_TRUE(bar->started());
    const std::vector<std::uint32_t> clients = probe.cardinals(probe.root(), "_NET_CLIENT_LIST");
    ASSERT_EQ(std::ranges::count(clients, bar->window()), 0) << "not a managed client";
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == RectBL{0, 24, 1280, 1056}; }));
    EXPECT_EQ(x.screens.screens().at(1).visibleFrame, kRight);

    // Its struts followed as they change...
    const std::vector<std::uint32_t> taller = {0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 1279};
    xcb_change_property(probe.c(), XCB_PROP_MODE_REPLACE, bar->window(), probe.atom("_NET_WM_STRUT_PARTIAL"),
                        XCB_ATOM_CARDINAL, 32, std::uint32_t(taller.size()), taller.data());
    xcb_flush(probe.c());
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == RectBL{0, 40, 1280, 1040}; }));

    // ...and the space given back when it goes.
    bar.reset();
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == kLeft; }));
}

TEST(X11Screens, AStrutOfABarInsideAWindowManagersFrameCountsToo) {
    Backends x;
    // As icewm keeps its taskbar: neither a child of the root nor a managed client.
    auto bar = std::make_unique<TestClient>(std::vector<std::string>{
        "--class", "wm-bar", "--geometry", "1280x24+0+1056", "--strut", "0,0,0,24,0,0,0,0,0,0,0,1279", "--framed"});
    ASSERT_TRUE(bar->started());
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == RectBL{0, 24, 1280, 1056}; }));
    EXPECT_EQ(x.screens.screens().at(1).visibleFrame, kRight);
    bar.reset();
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == kLeft; }));

    // icewm's taskbar holds the older strut, which names no run: it counts where it lies.
    TestClient taskbar({"--class", "wm-bar", "--geometry", "1280x26+0+1054", "--strut", "0,0,0,26", "--framed"});
    ASSERT_TRUE(taskbar.started());
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == RectBL{0, 26, 1280, 1054}; }));
    EXPECT_EQ(x.screens.screens().at(1).visibleFrame, kRight);
}

TEST(X11Screens, TheWorkAreaCountsWhereItIsOneMonitors) {
    Backends x;
    XProbe probe;
    const std::vector<std::uint32_t> managersOwn = probe.cardinals(probe.root(), "_NET_WORKAREA");
    const auto setWorkArea = [&](std::vector<std::uint32_t> area) {
        // The same rectangle on every desktop.
        const std::size_t desktops = probe.cardinals(probe.root(), "_NET_NUMBER_OF_DESKTOPS").at(0);
        std::vector<std::uint32_t> values;
        for (std::size_t i = 0; i < desktops; ++i)
            values.insert(values.end(), area.begin(), area.end());
        xcb_change_property(probe.c(), XCB_PROP_MODE_REPLACE, probe.root(), probe.atom("_NET_WORKAREA"),
                            XCB_ATOM_CARDINAL, 32, std::uint32_t(values.size()), values.data());
        xcb_flush(probe.c());
    };
    // Cut on the left: only the left monitor reaches past the line.
    setWorkArea({30, 0, 2530, 1080});
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == RectBL{30, 0, 1250, 1080}; }));
    EXPECT_EQ(x.screens.screens().at(1).visibleFrame, kRight);
    // Cut at the bottom: both monitors reach past it, so it cannot tell whose it is.
    setWorkArea({0, 0, 2560, 1050});
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == kLeft; }));
    EXPECT_EQ(x.screens.screens().at(1).visibleFrame, kRight);
    setWorkArea({managersOwn.begin(), managersOwn.begin() + 4});
}

TEST(X11Screens, RemovingAndReaddingAMonitorIsReportedOnceEach) {
    Backends x;
    XProbe probe;
    const std::vector<ScreenInfo> before = x.screens.screens();
    ASSERT_EQ(before.size(), 2u);
    int changes = 0;
    Subscription watch = x.screens.onChanged([&] { ++changes; });

    ASSERT_EQ(run({"xrandr", "--delmonitor", "Q-RIGHT"}), 0);
    ASSERT_TRUE(spinUntil([&] { return changes == 1; }));
    ASSERT_EQ(x.screens.screens().size(), 1u);
    EXPECT_EQ(x.screens.screens()[0].frame, kLeft);

    // Layouts come in order: a second report of the removal would come before the return.
    ASSERT_EQ(run({"xrandr", "--setmonitor", "Q-RIGHT", "1280/338x1080/285+1280+0", "none"}), 0);
    ASSERT_TRUE(spinUntil([&] { return x.screens.screens().size() == 2; }));
    EXPECT_EQ(changes, 2);
    const std::vector<ScreenInfo> after = x.screens.screens();
    EXPECT_EQ(after[1].frame, kRight);
    EXPECT_EQ(after[1].stableId, before[1].stableId) << "a dock assigned to it finds it again";

    // And a second report of the return would come before a later change.
    const std::vector<std::uint32_t> managersOwn = probe.cardinals(probe.root(), "_NET_WORKAREA");
    std::vector<std::uint32_t> cut = managersOwn;
    for (std::size_t i = 0; i + 4 <= cut.size(); i += 4)
        cut[i] = 30, cut[i + 2] = 2530;
    const auto setWorkArea = [&](const std::vector<std::uint32_t>& values) {
        xcb_change_property(probe.c(), XCB_PROP_MODE_REPLACE, probe.root(), probe.atom("_NET_WORKAREA"),
                            XCB_ATOM_CARDINAL, 32, std::uint32_t(values.size()), values.data());
        xcb_flush(probe.c());
    };
    setWorkArea(cut);
    ASSERT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame.x == 30; }));
    EXPECT_EQ(changes, 3);
    setWorkArea(managersOwn);
    EXPECT_TRUE(spinUntil([&] { return x.screens.screens().at(0).visibleFrame == kLeft; }));
}
