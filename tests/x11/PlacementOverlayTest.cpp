#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"
#include "core/workspace/WorkspacePreviewHolder.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

// The right-hand monitor, in screen space and in root coordinates alike.
constexpr RectBL kRight{1280, 0, 1280, 1080};
// The test desktop's background (xsetroot -solid '#3b4252').
constexpr std::uint32_t kDesktop = 0x3b4252;
constexpr std::uint32_t kClient = 0x3070b0;

}  // namespace

TEST(X11PlacementOverlay, WithoutACompositorOnlyTheCellsRingsAndTheNoticeShowAndClicksGoThrough) {
    Backends x;
    XProbe probe;
    ASSERT_FALSE(x.appearance.hasCompositor());
    TestClient client({"--class", "below", "--color", "3070b0", "--geometry", "400x300+1400+200"});
    ASSERT_TRUE(client.started());
    WorkspacePreviewHolder holder;
    auto overlay =
        x.panels.createPanel(PanelStyle{PanelLevel::placement, true}, kRight,
                             x.workspaceViews.placement(
                                 {.holder = &holder, .system = &x.appearance, .mainLoop = &x.loop, .clock = &x.clock}));
    // Two cells side by side, the right-hand one highlighted, in the overlay's own space.
    holder.setCellFrames({Rect{10, 10, 625, 1060}, Rect{645, 10, 625, 1060}});
    holder.setHighlighted(1);
    overlay->orderFront();
    ASSERT_TRUE(spinUntil([&] {
        const xcb_window_t window = panelWindow(x.panels, overlay->serial());
        return window != XCB_WINDOW_NONE && probe.isViewable(window);
    }));

    // The highlighted ring, solid along the top; the desktop inside the cells and between them.
    EXPECT_TRUE(spinUntil([&] { return probe.pixelAt(1280 + 900, 11) != kDesktop; }));
    EXPECT_EQ(probe.pixelAt(1280 + 900, 500), kDesktop);
    EXPECT_EQ(probe.pixelAt(1280 + 640, 500), kDesktop);
    EXPECT_EQ(probe.pixelAt(1280 + 300, 900), kDesktop);
    EXPECT_EQ(probe.pixelAt(1500, 300), kClient) << "the window in the plain cell shows through";
    EXPECT_EQ(probe.pixelAt(640, 500), kDesktop) << "the other monitor";

    // The notice, dark, on the monitor's centre; gone, the desktop shows there again.
    holder.setFullNotice("Workspace is full");
    EXPECT_TRUE(spinUntil([&] { return probe.pixelAt(1280 + 640 - 70, 540) != kDesktop; }));
    holder.setFullNotice(std::nullopt);
    EXPECT_TRUE(spinUntil([&] { return probe.pixelAt(1280 + 640 - 70, 540) == kDesktop; }));

    // A click on a ring still reaches the window below.
    holder.setCellFrames({Rect{100, 250, 625, 700}});
    holder.setHighlighted(0);
    ASSERT_TRUE(spinUntil([&] { return probe.pixelAt(1500, 251) != kClient; }));
    int global = 0;
    Subscription monitor = x.events.onGlobalMouseDown(kLeftButton, [&](const MouseDown&) { ++global; });
    ASSERT_EQ(run({"xdotool", "mousemove", "1500", "251", "click", "1"}), 0);
    EXPECT_TRUE(client.waitForLine("press 1"));
    EXPECT_TRUE(spinUntil([&] { return global == 1; }));
}
