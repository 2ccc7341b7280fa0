#include <gtest/gtest.h>

#include "core/tiles/DockBarContent.h"
#include "core/tiles/DockMetrics.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::app;
using testing::dock;

std::vector<TransientDockApp> running(std::size_t count) {
    std::vector<TransientDockApp> apps;
    for (std::size_t i = 0; i < count; ++i)
        apps.push_back({"app" + std::to_string(i), static_cast<Pid>(100 + i), "app" + std::to_string(i), "App", {}});
    return apps;
}

TEST(DockBarContent, ARemovedDockShowsTheHintWithoutHeaderAsAHorizontalDock) {
    const DockBarContent content = decideBarContent(std::nullopt, false, {});
    EXPECT_FALSE(content.showsHeader());
    EXPECT_EQ(content.body, BarBody::dragHint);
    EXPECT_FALSE(content.showsAuthorizeAfterStrip);
    EXPECT_FALSE(isVerticalDock(std::nullopt));
    EXPECT_EQ(bounceVector(std::nullopt, 62), (Size{0, -62 * 0.15}));
}

TEST(DockBarContent, MissingAccessAsksForItOnlyWhenTheDockShowsWindows) {
    const Profile empty = dock(1, DockEdge::bottom);
    const Profile withItems = dock(1, DockEdge::bottom, {app("mail", "Mail")});

    const DockBarContent asking = decideBarContent(empty, false, {});
    EXPECT_EQ(asking.body, BarBody::authorizeAndHint) << "the button above the hint";
    EXPECT_TRUE(asking.showsHeader());

    const DockBarContent strip = decideBarContent(withItems, false, {});
    EXPECT_EQ(strip.body, BarBody::strip);
    EXPECT_TRUE(strip.showsAuthorizeAfterStrip) << "the button follows the strip";
    EXPECT_FALSE(strip.showsSeparator) << "no running applications inside the strip";

    Profile quiet = withItems;
    quiet.showsWindows = false;
    EXPECT_FALSE(decideBarContent(quiet, false, {}).showsAuthorizeAfterStrip);
    quiet.items.clear();
    EXPECT_EQ(decideBarContent(quiet, false, {}).body, BarBody::dragHint) << "never a button without windows shown";

    EXPECT_EQ(decideBarContent(empty, true, {}).body, BarBody::dragHint) << "trusted, nothing runs";
}

TEST(DockBarContent, TheSeparatorStandsOnlyBetweenItemsAndRunningApplications) {
    const Profile empty = dock(1, DockEdge::bottom);
    const Profile withItems = dock(1, DockEdge::bottom, {app("mail", "Mail")});

    const DockBarContent onlyRunning = decideBarContent(empty, true, running(2));
    EXPECT_EQ(onlyRunning.body, BarBody::strip);
    EXPECT_FALSE(onlyRunning.showsSeparator);
    EXPECT_EQ(onlyRunning.transientApps.size(), 2u);

    EXPECT_TRUE(decideBarContent(withItems, true, running(1)).showsSeparator);
    EXPECT_FALSE(decideBarContent(withItems, true, {}).showsSeparator);
}

TEST(DockBarContent, TheBounceAndTheAxisFollowTheEdge) {
    const double d = 48 * 0.15;
    EXPECT_EQ(bounceVector(dock(1, DockEdge::bottom), 48), (Size{0, -d}));
    EXPECT_EQ(bounceVector(dock(1, DockEdge::top), 48), (Size{0, d}));
    EXPECT_EQ(bounceVector(dock(1, DockEdge::left), 48), (Size{d, 0}));
    EXPECT_EQ(bounceVector(dock(1, DockEdge::right), 48), (Size{-d, 0}));
    EXPECT_FALSE(isVerticalDock(dock(1, DockEdge::top)));
    EXPECT_TRUE(isVerticalDock(dock(1, DockEdge::left)));
    EXPECT_TRUE(isVerticalDock(dock(1, DockEdge::right)));
}

TEST(DockMetrics, TheTileFrameAndItsHighlight) {
    // The default tile: a 38-point icon, a 62-point tile, a label of at most 58.
    EXPECT_EQ(dockbar::iconSide(62), 38);
    EXPECT_EQ(62 - dockbar::kLabelInset, 58);
    // Vertical cells: the tile less 12, or plus 4 with labels, as the frames count them.
    EXPECT_EQ(dockbar::cellLength(48, false, true), 36);
    EXPECT_EQ(dockbar::cellLength(48, true, true), 52);
    EXPECT_EQ(dockbar::cellLength(48, true, false), 48);
    EXPECT_EQ(dockbar::tileCornerRadius(10), 6);
    EXPECT_EQ(dockbar::tileCornerRadius(18), 10);
    EXPECT_EQ(dockbar::tileCornerRadius(30), 14);
    // Three tiles with the separator after the first.
    EXPECT_EQ(dockbar::stripLength(3, true, 48), 3 * 48 + 2 * 8 + 8 + 5.5);
    EXPECT_EQ(dockbar::stripLength(0, false, 48), 0);
}

}  // namespace
}  // namespace quillbern
