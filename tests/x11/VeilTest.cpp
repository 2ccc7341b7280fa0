#include <QApplication>
#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"
#include "sim/SimLog.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

// The right-hand monitor, in screen space and in root coordinates alike.
constexpr RectBL kRight{1280, 0, 1280, 1080};
// A dock-sized panel near the bottom of the right-hand monitor, and the same in root
// coordinates.
constexpr RectBL kDockFrame{1400, 14, 400, 90};
// The test desktop's background (xsetroot -solid '#3b4252').
constexpr std::uint32_t kDesktop = 0x3b4252;

bool isOverrideRedirect(const XProbe& probe, xcb_window_t window) {
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(probe.c(), xcb_get_window_attributes(probe.c(), window), nullptr);
    const bool unmanaged = attributes && attributes->override_redirect;
    std::free(attributes);
    return unmanaged;
}

// Whether the rectangles of a blur-behind region (x, y, width, height each) hold the point.
bool regionHolds(const std::vector<std::uint32_t>& region, int x, int y) {
    for (std::size_t i = 0; i + 3 < region.size(); i += 4) {
        const auto rx = int(region[i]), ry = int(region[i + 1]), rw = int(region[i + 2]), rh = int(region[i + 3]);
        if (x >= rx && x < rx + rw && y >= ry && y < ry + rh) return true;
    }
    return false;
}

std::unique_ptr<Panel> shownVeil(Backends& x, std::optional<RectBL> hole) {
    auto veil = x.panels.createPanel(PanelStyle{PanelLevel::veil, true}, kRight, x.workspaceViews.veil({kRight}));
    veil->setVeil(hole, 0.35);
    veil->orderFront();
    return veil;
}

}  // namespace

TEST(X11Veil, StandsUnmanagedOverEveryOtherWindowAndBelowTheDocksAfterRaisesToo) {
    Backends x;
    XProbe probe;
    auto dock = x.panels.createPanel(PanelStyle{}, kDockFrame, PlainFill{{0.2, 0.4, 0.8, 1}});
    dock->orderFront();
    TestClient first({"--class", "first", "--geometry", "600x400+1400+200"});
    ASSERT_TRUE(first.started());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(first.window())}), 0);

    auto veil = shownVeil(x, RectBL{1400, 480, 600, 400});
    xcb_window_t veilWindow = XCB_WINDOW_NONE, dockWindow = XCB_WINDOW_NONE;
    ASSERT_TRUE(spinUntil([&] {
        veilWindow = panelWindow(x.panels, veil->serial());
        dockWindow = panelWindow(x.panels, dock->serial());
        return veilWindow != XCB_WINDOW_NONE && probe.isViewable(veilWindow) && probe.isViewable(dockWindow);
    }));
    EXPECT_TRUE(isOverrideRedirect(probe, veilWindow));
    EXPECT_EQ(probe.geometry(veilWindow), (RectTL{1280, 0, 1280, 1080}));
    const auto inOrder = [&](xcb_window_t client) {
        return probe.stackIndex(client) < probe.stackIndex(veilWindow) &&
               probe.stackIndex(veilWindow) < probe.stackIndex(dockWindow);
    };
    EXPECT_TRUE(spinUntil([&] { return inOrder(first.window()); }));

    // A window shown and raised later still stands below the veil.
    TestClient second({"--class", "second", "--geometry", "500x300+1600+500"});
    ASSERT_TRUE(second.started());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(second.window())}), 0);
    ASSERT_TRUE(windowManagerCaughtUp(second.window()));
    EXPECT_TRUE(spinUntil([&] { return inOrder(second.window()) && inOrder(first.window()); }));
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(first.window())}), 0);
    ASSERT_TRUE(windowManagerCaughtUp(first.window()));
    EXPECT_TRUE(spinUntil([&] { return inOrder(second.window()) && inOrder(first.window()); }));

    // Full screen, the window manager stacks it over the docks; the veil goes over it.
    const auto isFullScreen = [&] { return probe.hasState(second.window(), "_NET_WM_STATE_FULLSCREEN"); };
    probe.askFullScreen(second.window(), true);
    ASSERT_TRUE(spinUntil(isFullScreen));
    ASSERT_TRUE(spinUntil([&] { return probe.stackIndex(second.window()) > probe.stackIndex(dockWindow); }));
    EXPECT_TRUE(spinUntil([&] { return probe.stackIndex(second.window()) < probe.stackIndex(veilWindow); }));
    probe.askFullScreen(second.window(), false);
    ASSERT_TRUE(spinUntil([&] { return !isFullScreen(); }));
    ASSERT_TRUE(windowManagerCaughtUp(second.window()));
    EXPECT_TRUE(spinUntil([&] { return inOrder(second.window()); }));

    // Clicks go through it.
    ASSERT_EQ(run({"xdotool", "mousemove", "1700", "650", "click", "1"}), 0);
    EXPECT_TRUE(second.waitForLine("press 1"));
}

TEST(X11Veil, TheBlurBehindCoversThePanelLessTheHoleUntilTheVeilCloses) {
    Backends x;
    XProbe probe;
    // In the panel, y down: 120 from its left, 680 below its top, 400 by 300.
    auto veil = shownVeil(x, RectBL{1400, 100, 400, 300});
    xcb_window_t window = XCB_WINDOW_NONE;
    ASSERT_TRUE(spinUntil([&] {
        window = panelWindow(x.panels, veil->serial());
        return window != XCB_WINDOW_NONE && probe.isViewable(window);
    }));
    const auto region = [&] { return probe.cardinals(window, "_KDE_NET_WM_BLUR_BEHIND_REGION"); };
    std::vector<std::uint32_t> blurred;
    ASSERT_TRUE(spinUntil([&] { return !(blurred = region()).empty(); }));
    EXPECT_TRUE(regionHolds(blurred, 10, 10));
    EXPECT_TRUE(regionHolds(blurred, 1270, 1070));
    EXPECT_TRUE(regionHolds(blurred, 320, 679)) << "just above the hole";
    EXPECT_FALSE(regionHolds(blurred, 320, 830)) << "inside the hole";
    EXPECT_FALSE(regionHolds(blurred, 121, 830));
    EXPECT_TRUE(regionHolds(blurred, 121, 681)) << "the hole's corner is rounded";

    // No hole here: the whole panel.
    veil->setVeil(RectBL{100, 100, 400, 300}, 0.35);
    EXPECT_TRUE(spinUntil([&] { return region() == std::vector<std::uint32_t>{0, 0, 1280, 1080}; }));

    veil->clearVeilEffects();
    EXPECT_TRUE(spinUntil([&] { return region().empty(); }));
}

TEST(X11Veil, WithoutACompositorOnlyTheRingShowsAndTheLogSaysWhyOnce) {
    SimLog log;
    Backends x;
    XProbe probe;
    ASSERT_FALSE(x.appearance.hasCompositor());
    // In root coordinates 1500,300 to 1900,600.
    auto veil = shownVeil(x, RectBL{1500, 480, 400, 300});
    xcb_window_t window = XCB_WINDOW_NONE;
    ASSERT_TRUE(spinUntil([&] {
        window = panelWindow(x.panels, veil->serial());
        return window != XCB_WINDOW_NONE && probe.isViewable(window);
    }));
    // The ring at the hole's top edge shows; the screen around it and inside the hole does not
    // change.
    EXPECT_TRUE(spinUntil([&] { return probe.pixelAt(1700, 299) != kDesktop; }));
    EXPECT_EQ(probe.pixelAt(1700, 295), kDesktop);
    EXPECT_EQ(probe.pixelAt(1700, 450), kDesktop);
    EXPECT_EQ(probe.pixelAt(1300, 50), kDesktop);
    EXPECT_EQ(probe.pixelAt(2500, 1000), kDesktop);
    EXPECT_EQ(log.count("the veil shows only its ring"), 1);

    auto another = shownVeil(x, std::nullopt);
    veil.reset();
    auto third = shownVeil(x, RectBL{1500, 480, 400, 300});
    EXPECT_EQ(log.count("the veil shows only its ring"), 1);
    EXPECT_EQ(log.count("compositing manager"), 1);
}
