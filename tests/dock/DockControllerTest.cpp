#include <gtest/gtest.h>

#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

using testing::kLeft;
using testing::kRight;
using testing::onDisplay;

class Controller : public ::testing::Test {
protected:
    testing::DockTestWorld w;

    void open(const std::vector<Profile>& docks) {
        w.open(docks);
        w.controller().start();
    }
    std::optional<RectBL> expectedFrame(DisplayId display, int n) {
        return w.controller().stackedFrame(PanelKey{display, simDock(n, DockEdge::bottom).id});
    }
    void removeRightDisplay() {
        w.world.screens.setScreens({testing::twoScreens()[0]});
        w.world.screens.fireChanged();
    }
};

TEST_F(Controller, EachVisibleDockGetsAPanelOnEveryDisplayItStandsOn) {
    Profile off = simDock(3, DockEdge::top);
    off.isEnabled = false;
    Profile hidden = simDock(4, DockEdge::right);
    hidden.isVisible = false;
    open({simDock(1, DockEdge::bottom, {}, 3), simDock(2, DockEdge::left, onDisplay("16-2-22"), 2), off, hidden});

    EXPECT_EQ(w.openPanels(), 3u);
    ASSERT_NE(w.panel(kLeft, 1), nullptr);
    ASSERT_NE(w.panel(kRight, 1), nullptr);
    ASSERT_NE(w.panel(kRight, 2), nullptr);
    EXPECT_EQ(w.panel(kLeft, 2), nullptr);
    for (const auto& [display, n] : {std::pair{kLeft, 1}, {kRight, 1}, {kRight, 2}}) {
        const SimPanelState* panel = w.panel(display, n);
        EXPECT_TRUE(panel->visible);
        EXPECT_EQ(panel->style.level, PanelLevel::dock);
        EXPECT_FALSE(panel->style.ignoresMouse);
        EXPECT_EQ(panel->frame, expectedFrame(display, n));
        const auto* content = panel->shown<DockContent>();
        ASSERT_NE(content, nullptr);
        EXPECT_EQ(content->profile, simDock(n, DockEdge::bottom).id);
        EXPECT_EQ(content->display, display);
    }
    // The left dock of the right display hugs its left edge inside the margin.
    EXPECT_EQ(w.panel(kRight, 2)->frame.x, 1920 + 14);
    EXPECT_EQ(w.panel(kLeft, 1)->frame.y, 14);
}

TEST_F(Controller, OnlyTheFirstTwoDocksOfAnEdgeGetPanels) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::bottom, onDisplay("16-1-11")),
          simDock(3, DockEdge::bottom, onDisplay("16-1-11"))});
    EXPECT_NE(w.panel(kLeft, 2), nullptr);
    EXPECT_NE(w.panel(kLeft, 3), nullptr);
    EXPECT_EQ(w.panel(kLeft, 1), nullptr) << "the dock of every display stands third here";
    EXPECT_NE(w.panel(kRight, 1), nullptr);
    EXPECT_EQ(w.openPanels(), 3u);
}

TEST_F(Controller, HidingOneOfTwoDocksOnAnEdgeClosesOnlyItsPanels) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::bottom)});
    const std::uint64_t kept = *w.controller().panelSerial({kLeft, simDock(1, DockEdge::bottom).id});
    const RectBL outerBefore = w.panel(kLeft, 2)->frame;
    ASSERT_EQ(w.openPanels(), 4u);

    w.pinned().setVisible(simDock(2, DockEdge::bottom).id, false);
    EXPECT_EQ(w.openPanels(), 2u);
    EXPECT_EQ(w.panel(kLeft, 2), nullptr);
    EXPECT_EQ(w.panel(kRight, 2), nullptr);
    EXPECT_EQ(*w.controller().panelSerial({kLeft, simDock(1, DockEdge::bottom).id}), kept);

    // Shown again, it stands outside the other one, as before.
    w.pinned().setVisible(simDock(2, DockEdge::bottom).id, true);
    EXPECT_EQ(w.openPanels(), 4u);
    EXPECT_EQ(w.panel(kLeft, 2)->frame, outerBefore);
}

TEST_F(Controller, AVanishedDisplayLosesItsPanelsAndGetsFreshOnesWhenItReturns) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::left, onDisplay("16-2-22"))});
    const std::uint64_t before = *w.controller().panelSerial({kRight, simDock(1, DockEdge::bottom).id});
    removeRightDisplay();
    EXPECT_EQ(w.openPanels(), 1u);
    EXPECT_TRUE(w.world.panels.panel(before)->closed);
    EXPECT_EQ(w.controller().panelKeys(), (std::vector<PanelKey>{{kLeft, simDock(1, DockEdge::bottom).id}}));

    w.world.screens.setScreens(testing::twoScreens());
    w.world.screens.fireChanged();
    EXPECT_EQ(w.openPanels(), 3u);
    ASSERT_NE(w.panel(kRight, 1), nullptr);
    EXPECT_NE(w.panel(kRight, 1)->serial, before);
    EXPECT_TRUE(w.panel(kRight, 2)->visible);
}

TEST_F(Controller, AScreenWithoutBothIdentitiesGetsNoPanels) {
    std::vector<ScreenInfo> screens = testing::twoScreens();
    screens[1].stableId.reset();
    w.world.screens.setScreens(screens);
    open({simDock(1, DockEdge::bottom)});
    EXPECT_EQ(w.controller().panelKeys(), (std::vector<PanelKey>{{kLeft, simDock(1, DockEdge::bottom).id}}));
}

TEST_F(Controller, ADisplayChangeMovesExistingPanelsAtOnce) {
    open({simDock(1, DockEdge::bottom)});
    const std::uint64_t serial = w.panel(kLeft, 1)->serial;
    std::vector<ScreenInfo> screens = testing::twoScreens();
    screens[0].visibleFrame = {0, 40, 1920, 1010};
    w.world.screens.setScreens(screens);
    w.world.screens.fireChanged();
    EXPECT_EQ(w.panel(kLeft, 1)->serial, serial);
    EXPECT_EQ(w.panel(kLeft, 1)->frame.y, 54);
}

TEST_F(Controller, RefreshAnimatesOnlyTheFramesThatChanged) {
    Profile windowsShown = simDock(1, DockEdge::bottom, {}, 2);
    windowsShown.showsWindows = true;
    open({windowsShown, simDock(2, DockEdge::top, {}, 2)});
    const RectBL growing = w.panel(kLeft, 1)->frame;
    const RectBL steady = w.panel(kLeft, 2)->frame;

    w.transientApps = 4;
    w.controller().refreshFrames();
    EXPECT_EQ(w.panel(kLeft, 1)->frame, growing) << "the move is animated, not set";
    w.world.advance(0.075);
    EXPECT_GT(w.panel(kLeft, 1)->frame.width, growing.width);
    EXPECT_EQ(w.panel(kLeft, 2)->frame, steady);
    w.world.advance(0.075);
    const RectBL grown = *expectedFrame(kLeft, 1);
    EXPECT_EQ(grown.width, 6 * 62 + 5 * 8 + 12 + 36);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, grown);
    EXPECT_EQ(w.panel(kLeft, 2)->frame, steady);
}

TEST_F(Controller, RefreshNeverOpensOrClosesPanels) {
    open({simDock(1, DockEdge::bottom)});
    w.world.screens.setScreens({testing::twoScreens()[0]});  // no notice yet
    w.controller().refreshFrames();
    EXPECT_EQ(w.openPanels(), 2u);
}

TEST_F(Controller, AContentChangeOfTheDocksRefreshesTheFrames) {
    open({simDock(1, DockEdge::bottom, {}, 1)});
    ASSERT_TRUE(w.pinned().onContentChange);
    EXPECT_EQ(w.panel(kLeft, 1)->frame.width, 180);
    w.pinned().pin("org.example.Editor", "Editor", std::nullopt, simDock(1, DockEdge::bottom).id);
    w.pinned().pin("org.example.Viewer", "Viewer", std::nullopt, simDock(1, DockEdge::bottom).id);
    w.world.advance(0.2);
    EXPECT_EQ(w.panel(kLeft, 1)->frame.width, 3 * 62 + 2 * 8 + 36);
}

TEST_F(Controller, AnEditThatAnnouncesNothingStillResizesTheDock) {
    const Uuid id = simDock(1, DockEdge::bottom).id;
    open({simDock(1, DockEdge::bottom, {}, 2)});
    w.transientApps = 4;
    const RectBL pinnedOnly = w.panel(kLeft, 1)->frame;
    ASSERT_EQ(pinnedOnly.width, 180);

    w.pinned().setShowsWindows(id, true);
    w.world.advance(DockController::kFrameChange.duration);
    EXPECT_EQ(w.panel(kLeft, 1)->frame.width, 6 * 62 + 5 * 8 + 12 + 36);
    EXPECT_EQ(w.panel(kRight, 1)->frame, expectedFrame(kRight, 1));
    const std::uint64_t serial = w.panel(kLeft, 1)->serial;

    w.pinned().setShowsWindows(id, false);
    w.world.advance(DockController::kFrameChange.duration);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, pinnedOnly);
    EXPECT_EQ(w.panel(kLeft, 1)->serial, serial) << "moved, not rebuilt";
}

TEST_F(Controller, AnApplicationKnownAnewResizesTheDock) {
    // Two windows of one program, one tile, until the second's own entry is installed.
    const auto known = [](Pid pid, const char* appId) {
        return RunningApp{.pid = pid, .name = appId, .policy = ActivationPolicy::regular, .appId = appId};
    };
    w.world.apps.launch(known(10, "org.example.Fresh"));
    w.world.apps.launch(known(11, "org.example.Fresh"));
    Profile windowsShown = simDock(1, DockEdge::bottom, {}, 2);
    windowsShown.showsWindows = true;
    w.transientApps = 1;
    open({windowsShown});
    const RectBL oneTile = w.panel(kLeft, 1)->frame;

    w.transientApps = 2;
    w.world.apps.reidentify(known(11, "org.example.Early"));
    w.world.advance(DockController::kFrameChange.duration);
    EXPECT_GT(w.panel(kLeft, 1)->frame.width, oneTile.width);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, expectedFrame(kLeft, 1));
}

TEST_F(Controller, ACommandClickOnADockReachesTheApplication) {
    open({simDock(1, DockEdge::bottom)});
    int clicks = 0;
    EXPECT_TRUE(w.world.panels.commandClick(w.panel(kRight, 1)->serial)) << "harmless without a handler";
    w.controller().onCommandClick = [&clicks] { ++clicks; };
    EXPECT_TRUE(w.world.panels.commandClick(w.panel(kLeft, 1)->serial));
    EXPECT_EQ(clicks, 1);
}

TEST_F(Controller, StopClosesEveryPanelAndLeavesTheControllerInert) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::left)});
    w.controller().stop();
    EXPECT_EQ(w.openPanels(), 0u);
    EXPECT_TRUE(w.controller().panelKeys().empty());
    EXPECT_FALSE(w.pinned().onLayoutChange);
    EXPECT_TRUE(w.pinned().onContentChange) << "the content callback stays and finds nothing to move";

    w.pinned().pin("org.example.Editor", "Editor", std::nullopt, simDock(1, DockEdge::bottom).id);
    w.world.screens.fireChanged();
    w.pinned().setEdge(simDock(2, DockEdge::left).id, DockEdge::right);
    EXPECT_EQ(w.openPanels(), 0u);
}

TEST_F(Controller, AContentCallbackOutlivingTheControllerDoesNothing) {
    open({simDock(1, DockEdge::bottom)});
    w.controller().stop();
    w.controller_.reset();
    w.pinned().pin("org.example.Editor", "Editor", std::nullopt, simDock(1, DockEdge::bottom).id);
    EXPECT_EQ(w.openPanels(), 0u);
}

TEST_F(Controller, AColdLaunchFromADocksTileShowsTheBeacon) {
    open({simDock(1, DockEdge::bottom)});
    const auto* content = w.panel(kLeft, 1)->shown<DockContent>();
    ASSERT_NE(content, nullptr);
    ASSERT_TRUE(content->onColdLaunch);
    EXPECT_EQ(content->apps, &w.world.apps);
    w.launching.setLaunching({"org.example.Editor"});
    content->onColdLaunch({"org.example.Editor", "Editor", std::nullopt});
    EXPECT_TRUE(w.controller().beacon().shownPanel(kLeft));

    // The view's copy of its callbacks may outlive the controller.
    const DockContent kept = *content;
    w.controller().stop();
    w.controller_.reset();
    kept.onColdLaunch({"org.example.Editor", "Editor", std::nullopt});
    kept.onInteractionLock(true);
}

TEST_F(Controller, RemovingAPanelClosesTheLaunchBeacons) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::top)});
    w.launching.setLaunching({"org.example.Editor"});
    w.controller().beacon().coldLaunchBegan({"org.example.Editor", "Editor", std::nullopt});
    ASSERT_TRUE(w.controller().beacon().shownPanel(kLeft));

    w.controller().rebuildPanels();  // nothing removed: the beacon stays
    EXPECT_TRUE(w.controller().beacon().shownPanel(kLeft));
    w.pinned().setVisible(simDock(2, DockEdge::top).id, false);
    EXPECT_FALSE(w.controller().beacon().shownPanel(kLeft));
    EXPECT_EQ(w.openPanels(), 2u) << "closed at once, without a fade";
}

}  // namespace
}  // namespace quillbern
