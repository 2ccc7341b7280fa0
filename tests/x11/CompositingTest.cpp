#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

// The test desktop's background (xsetroot -solid '#3b4252').
constexpr std::uint32_t kDesktop = 0x3b4252;
// A launch beacon's slab, corner radius 19, at 300,400 in root coordinates.
constexpr RectBL kSlab{300, 580, 240, 100};
constexpr RectTL kSlabInRoot{300, 400, 240, 100};

QWidget* panelWidget(const XProbe& probe, const RectTL& at) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && probe.geometry(xcb_window_t(widget->winId())) == at) return widget;
    }
    return nullptr;
}

}  // namespace

TEST(X11Compositing, ARoundedPanelShowsTheDesktopAtItsCornersWithOrWithoutACompositor) {
    Backends x;
    XProbe probe;
    ASSERT_FALSE(x.appearance.hasCompositor());
    int notices = 0;
    const Subscription watch = x.appearance.onChanged([&notices] { ++notices; });

    BeaconContent beacon;
    beacon.tileSize = 48;
    beacon.cornerRadius = 13;
    beacon.canBlend = false;
    auto panel = x.panels.createPanel(PanelStyle{}, kSlab, x.dockViews.launchBeacon(beacon));
    panel->orderFront();
    QWidget* widget = nullptr;
    ASSERT_TRUE(spinUntil([&] { return (widget = panelWidget(probe, kSlabInRoot)) != nullptr; }));
    const auto corner = [&] { return probe.pixelAt(300, 400); };
    const auto centre = [&] { return probe.pixelAt(420, 450); };
    const auto outside = [&] { return probe.pixelAt(290, 390); };

    // Without a compositor: cut to the outline, so the corner is the desktop's, not black;
    // the slab itself is drawn, opaque.
    ASSERT_TRUE(spinUntil([&] { return centre() != kDesktop; }));
    EXPECT_EQ(corner(), kDesktop);
    EXPECT_EQ(outside(), kDesktop);
    EXPECT_FALSE(widget->mask().isEmpty());

    // A compositing manager starts: translucency is kept, so the whole window shows.
    auto compositor = std::make_unique<Spawned>(std::vector<std::string>{"xcompmgr"});
    ASSERT_GT(compositor->pid(), 0);
    ASSERT_TRUE(spinUntil([&] { return x.appearance.hasCompositor(); }));
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(widget->mask().isEmpty());
    // xcompmgr paints its own grey where the desktop has no background picture.
    EXPECT_TRUE(spinUntil([&] { return corner() == outside() && centre() != outside(); }));

    // And stops: cut again.
    compositor.reset();
    ASSERT_TRUE(spinUntil([&] { return !x.appearance.hasCompositor(); }));
    EXPECT_EQ(notices, 2);
    EXPECT_FALSE(widget->mask().isEmpty());
    EXPECT_TRUE(spinUntil([&] { return corner() == kDesktop && centre() != kDesktop; }));
}
