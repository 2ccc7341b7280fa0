#include <gtest/gtest.h>

#include "dock/AutoHideFixture.h"

namespace quillbern {
namespace {

using testing::AutoHide;
using testing::kAway;
using testing::kLeft;
using testing::kRight;
using testing::onDisplay;

TEST_F(AutoHide, ANewDockStaysForTheLeaveDelayThenSlidesAwayAndIsOrderedOutAtItsRestingFrame) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    const RectBL frame = resting(kLeft, 1);
    ticks(4);
    EXPECT_TRUE(shown(kLeft, 1));
    w.world.advance(0.36);  // the first tick past the leave delay starts the hide
    EXPECT_TRUE(w.panel(kLeft, 1)->visible);
    EXPECT_LT(w.panel(kLeft, 1)->frame.y, frame.y) << "sliding towards the bottom edge";
    w.world.advance(0.3);
    EXPECT_FALSE(w.panel(kLeft, 1)->visible);
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 0);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, frame);
}

TEST_F(AutoHide, AFreeBottomEdgeRevealsOnTheFirstTickOfContactAndSlidesTheDockIn) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    const RectBL frame = resting(kLeft, 1);

    pointAt({960, 0});  // below the bottom row: not on the screen by the pointer rule
    ticks(2);
    EXPECT_FALSE(shown(kLeft, 1));

    pointAt({960, 1});
    ticks(1);
    EXPECT_TRUE(w.panel(kLeft, 1)->visible);
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 0);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, frame.offsetBy(0, -14));
    w.world.advance(0.3);
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 1);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, frame);
}

TEST_F(AutoHide, OnlyTheDocksOwnStretchOfTheEdgeWidenedByTheMarginReveals) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    for (const PointBL p : {PointBL{857.5, 2}, PointBL{1062, 2}, PointBL{960, 3.5}, PointBL{300, 1}}) {
        pointAt(p);
        ticks(3);
        EXPECT_FALSE(shown(kLeft, 1)) << p.x << "," << p.y;
    }
    pointAt({858, 3});
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(AutoHide, TheEndsOfTheDisplayNeverReveal) {
    Profile leading = simDock(1, DockEdge::bottom, onDisplay("16-1-11"));
    leading.alignment = DockAlignment::leading;  // x 14: its widened span reaches x 2
    open({leading});
    settle();
    pointAt({6, 1});
    ticks(3);
    EXPECT_FALSE(shown(kLeft, 1));
    pointAt({12, 1});
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(AutoHide, TheNeighboursStretchRevealsOnlyTheNeighbour) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(2, DockEdge::bottom, onDisplay("16-2-22"))});
    settle();
    const RectBL right = resting(kRight, 2);
    pointAt({right.midX(), 1});
    ticks(1);
    EXPECT_TRUE(shown(kRight, 2));
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(AutoHide, TheTopEdgeRevealsAfterTheDwellOfTheRevealDelay) {
    open({simDock(1, DockEdge::top, onDisplay("16-1-11"))});
    settle();
    pointAt({960, 1060});  // in the bar at the top
    ticks(2);
    EXPECT_FALSE(shown(kLeft, 1));
    pointAt(kAway);
    ticks(1);
    pointAt({960, 1048});  // 3 points below the bar still counts
    ticks(2);
    EXPECT_FALSE(shown(kLeft, 1)) << "leaving for one tick starts the count again";
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1)) << "the third tick of the default 0.36 s";
}

TEST_F(AutoHide, AShortRevealDelayStillNeedsTwoTicksAndALongOneMore) {
    open({simDock(1, DockEdge::top, onDisplay("16-1-11"))});
    settle();
    w.preferences->setRevealDelay(0.1);
    EXPECT_EQ(w.controller().dwellTicks(), 1);
    pointAt({960, 1060});
    ticks(1);
    EXPECT_FALSE(shown(kLeft, 1));
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1));

    w.preferences->setRevealDelay(0.72);
    EXPECT_EQ(w.controller().dwellTicks(), 6);
}

TEST_F(AutoHide, ASeamNeedsTheDwellSoThePointerCrossesBetweenDisplaysFreely) {
    // The left edge of the right display: the zone reaches 12 points onto the left display.
    open({simDock(1, DockEdge::left, onDisplay("16-2-22"))});
    settle();
    pointAt({1915, 500});
    ticks(1);
    pointAt({1925, 500});
    ticks(1);
    pointAt({1700, 500});
    ticks(1);
    EXPECT_FALSE(shown(kRight, 1)) << "a crossing is not a reveal";
    pointAt({1915, 500});
    ticks(3);
    EXPECT_TRUE(shown(kRight, 1));
}

TEST_F(AutoHide, AtASeamFacedByADockTheZoneStopsAtTheSeam) {
    open({simDock(1, DockEdge::left, onDisplay("16-2-22")), simDock(2, DockEdge::right, onDisplay("16-1-11"))});
    settle();
    pointAt({1915, 500});
    ticks(4);
    EXPECT_FALSE(shown(kRight, 1));
    EXPECT_TRUE(shown(kLeft, 2)) << "it stands on the other side of the seam, in its own strip";
    settle();
    pointAt({1925, 500});
    ticks(3);
    EXPECT_TRUE(shown(kRight, 1));
}

TEST_F(AutoHide, AnOpenMenuHoldsBackADelayedRevealForAHundredTicksButNotAFreeEdge) {
    open({simDock(1, DockEdge::top, onDisplay("16-1-11")), simDock(2, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    w.world.input.setMenuOpen(true);
    pointAt({960, 1});
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 2));
    settle();

    pointAt({960, 1060});
    ticks(100);
    EXPECT_FALSE(shown(kLeft, 1));
    ticks(2);
    EXPECT_FALSE(shown(kLeft, 1));
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1)) << "the 101st tick no longer blocks, then the dwell runs";
}

TEST_F(AutoHide, ClosingTheMenuStartsTheGateCountAgain) {
    open({simDock(1, DockEdge::top, onDisplay("16-1-11"))});
    settle();
    w.world.input.setMenuOpen(true);
    pointAt({960, 1060});
    ticks(90);
    w.world.input.setMenuOpen(false);
    pointAt(kAway);
    ticks(1);
    w.world.input.setMenuOpen(true);
    pointAt({960, 1060});
    ticks(20);
    EXPECT_TRUE(shown(kLeft, 1)) << "nobody hovered while the menu was closed, so the count went on";
    pointAt(kAway);
    settle();
    w.world.input.setMenuOpen(false);
    pointAt({960, 1060});
    ticks(1);  // a consulted tick without a menu resets the count
    pointAt(kAway);
    ticks(1);
    w.world.input.setMenuOpen(true);
    pointAt({960, 1060});
    ticks(90);
    EXPECT_FALSE(shown(kLeft, 1));
    ticks(13);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(AutoHide, ShownDocksHideSomeTimeAfterThePointerLeaves) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    const RectBL frame = resting(kLeft, 1);
    pointAt({frame.maxX() + 11, frame.maxY() + 11});  // within 12 points of the panel
    ticks(20);
    EXPECT_TRUE(shown(kLeft, 1));
    pointAt(kAway);
    ticks(4);
    EXPECT_TRUE(shown(kLeft, 1));
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 1);
    ticks(2);
    w.world.advance(0.25);
    EXPECT_FALSE(w.panel(kLeft, 1)->visible);
}

TEST_F(AutoHide, TwoDocksOfOneEdgeShowAndHideTogether) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::bottom)});
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
    EXPECT_FALSE(shown(kLeft, 2));
    pointAt({960, 1});
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1));
    EXPECT_TRUE(shown(kLeft, 2));
    EXPECT_FALSE(shown(kRight, 1));

    const RectBL outer = resting(kLeft, 2);
    w.world.advance(0.3);
    pointAt({outer.midX(), outer.midY()});  // only the outer dock is under the pointer
    ticks(20);
    EXPECT_TRUE(shown(kLeft, 1));
    pointAt(kAway);
    ticks(6);
    w.world.advance(0.05);
    EXPECT_LT(w.panel(kLeft, 1)->alpha, 1);
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, w.panel(kLeft, 2)->alpha) << "both hide on the same tick";
}

TEST_F(AutoHide, AFullScreenApplicationStopsRevealOnContactOnItsDisplayOnly) {
    open({simDock(1, DockEdge::bottom)});
    settle();
    WindowInfo video;
    video.id = 7;
    video.isOnScreen = true;
    video.isFullscreen = true;
    video.displayID = kLeft;
    video.frame = {0, 0, 1920, 1080};
    w.engine->apply(WindowSnapshot{{video}});
    pointAt({960, 1});
    ticks(5);
    EXPECT_FALSE(shown(kLeft, 1));
    pointAt({resting(kRight, 1).midX(), 1});
    ticks(1);
    EXPECT_TRUE(shown(kRight, 1));

    // A minimised one does not count.
    video.isMinimized = true;
    w.engine->apply(WindowSnapshot{{video}});
    EXPECT_FALSE(w.controller().displayShowsFullscreenApp(kLeft));
    pointAt({960, 1});
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(AutoHide, AMaximisedWindowCoveringTheDisplayDoesNotStopReveal) {
    open({simDock(1, DockEdge::bottom)});
    settle();
    // Without struts a maximised window's frame covers the whole monitor; only the
    // window's own full-screen state makes it a full-screen application.
    WindowInfo editor;
    editor.id = 8;
    editor.isOnScreen = true;
    editor.displayID = kLeft;
    editor.frame = {0, 0, 1920, 1080};
    w.engine->apply(WindowSnapshot{{editor}});
    EXPECT_FALSE(w.controller().displayShowsFullscreenApp(kLeft));
    pointAt({960, 1});
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(AutoHide, AKnockDockDoesNotRevealOnHover) {
    Profile knock = simDock(1, DockEdge::bottom, onDisplay("16-1-11"));
    knock.revealMode = RevealMode::knock;
    open({knock});
    settle();
    pointAt({960, 1});
    ticks(5);
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(AutoHide, DraggingAnApplicationTileKeepsShownDocksAndRevealsNone) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"), 2), simDock(2, DockEdge::top, onDisplay("16-1-11"))});
    ticks(10);  // the top dock hides, the bottom one is held by the pointer
    pointAt({960, 1});
    w.world.advance(1.2);
    ASSERT_TRUE(shown(kLeft, 1));
    ASSERT_FALSE(shown(kLeft, 2));
    w.pinned().setDragSession(DragSession{"app:app1.0", simDock(1, DockEdge::bottom).id});
    pointAt(kAway);
    ticks(20);
    EXPECT_TRUE(shown(kLeft, 1));
    pointAt({960, 1060});
    ticks(10);
    EXPECT_FALSE(shown(kLeft, 2));

    w.pinned().setDragSession(std::nullopt);
    pointAt(kAway);
    ticks(6);
    w.world.advance(0.25);
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(AutoHide, SwitchingAutoHideOffBringsEveryDockBackAndReleasesHeldOnes) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::left)});
    settle();
    w.controller().toggleHeldOut(simDock(2, DockEdge::left).id);
    w.preferences->setAutoHide(false);
    ticks(1);
    w.world.advance(0.3);
    for (const auto& [display, n] : {std::pair{kLeft, 1}, {kRight, 1}, {kLeft, 2}, {kRight, 2}}) {
        EXPECT_TRUE(shown(display, n));
        EXPECT_EQ(w.panel(display, n)->alpha, 1);
    }
    EXPECT_FALSE(w.controller().isHeldOut(simDock(2, DockEdge::left).id));
    w.world.advance(5);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(AutoHide, WithReducedMotionDocksOnlyFade) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    w.world.appearance.setReduceMotion(true);
    const RectBL frame = resting(kLeft, 1);
    ticks(6);
    w.world.advance(0.1);
    EXPECT_GT(w.panel(kLeft, 1)->alpha, 0);
    EXPECT_LT(w.panel(kLeft, 1)->alpha, 1);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, frame);
    settle();
    pointAt({960, 1});
    ticks(1);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, frame);
    w.world.advance(0.1);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, frame);
}

TEST_F(AutoHide, ARevealDuringTheHideLeavesTheDockShownAndInPlace) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    const RectBL frame = resting(kLeft, 1);
    ticks(6);  // the hide has begun
    w.world.advance(0.05);
    ASSERT_LT(w.panel(kLeft, 1)->alpha, 1);
    pointAt({960, 1});
    ticks(1);
    w.world.advance(0.5);
    EXPECT_TRUE(w.panel(kLeft, 1)->visible);
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 1);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, frame);
}

TEST_F(AutoHide, AFrameRefreshDuringARevealStillEndsOpaque) {
    Profile growing = simDock(1, DockEdge::bottom, onDisplay("16-1-11"), 2);
    growing.showsWindows = true;
    open({growing});
    settle();
    pointAt({960, 1});
    ticks(1);
    w.world.advance(0.1);
    w.transientApps = 3;
    w.controller().refreshFrames();
    w.world.advance(0.3);
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 1);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, resting(kLeft, 1));
}

TEST_F(AutoHide, AFrameRefreshMovesAHiddenDockSilentlyAndTheNextRevealUsesTheNewFrame) {
    Profile growing = simDock(1, DockEdge::bottom, onDisplay("16-1-11"), 2);
    growing.showsWindows = true;
    open({growing});
    settle();
    w.transientApps = 3;
    w.controller().refreshFrames();
    const RectBL moved = resting(kLeft, 1);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, moved);
    EXPECT_FALSE(w.panel(kLeft, 1)->visible);
    pointAt({moved.minX() - 5, 1});
    ticks(1);
    w.world.advance(0.3);
    EXPECT_EQ(w.panel(kLeft, 1)->frame, moved);
}

}  // namespace
}  // namespace quillbern
