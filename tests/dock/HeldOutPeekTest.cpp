#include <gtest/gtest.h>

#include "dock/AutoHideFixture.h"

namespace quillbern {
namespace {

using testing::kLeft;
using testing::kRight;
using testing::onDisplay;

constexpr KeyCode kPeekKey = 35;

class HeldOut : public testing::AutoHide {};
class Peek : public testing::AutoHide {};
class InteractionLock : public testing::AutoHide {};

TEST_F(HeldOut, ADockIsPulledOutOnEveryDisplayAndStaysUntilToggledAgain) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::left)});
    settle();
    const Uuid id = simDock(1, DockEdge::bottom).id;
    w.controller().toggleHeldOut(id);
    EXPECT_TRUE(w.controller().isHeldOut(id));
    EXPECT_FALSE(w.controller().isHeldOut(simDock(2, DockEdge::left).id));
    w.world.advance(10);
    EXPECT_TRUE(shown(kLeft, 1));
    EXPECT_TRUE(shown(kRight, 1));
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 1);
    EXPECT_FALSE(shown(kLeft, 2));

    w.controller().toggleHeldOut(id);
    EXPECT_FALSE(w.controller().isHeldOut(id));
    ticks(1);
    w.world.advance(0.25);
    EXPECT_FALSE(shown(kLeft, 1)) << "let go, it hides on the next tick";
    EXPECT_FALSE(shown(kRight, 1));
}

TEST_F(HeldOut, AHeldDockUnderThePointerStaysWhenLetGo) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    w.controller().toggleHeldOut(simDock(1, DockEdge::bottom).id);
    pointAt({960, 40});
    w.controller().toggleHeldOut(simDock(1, DockEdge::bottom).id);
    ticks(10);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(HeldOut, ADockHiddenInSettingsIsMadeVisibleAndHeldADisabledOneIsNot) {
    Profile hidden = simDock(1, DockEdge::bottom, onDisplay("16-1-11"));
    hidden.isVisible = false;
    Profile off = simDock(2, DockEdge::top);
    off.isEnabled = false;
    open({hidden, off});
    w.controller().toggleHeldOut(hidden.id);
    EXPECT_TRUE(w.pinned().profile(hidden.id)->isVisible);
    EXPECT_TRUE(w.controller().isHeldOut(hidden.id));
    w.world.advance(5);
    EXPECT_TRUE(shown(kLeft, 1));

    w.controller().toggleHeldOut(off.id);
    EXPECT_FALSE(w.controller().isHeldOut(off.id));
    EXPECT_EQ(w.openPanels(), 1u);
}

TEST_F(HeldOut, ClosingThePanelDropsItsHeldState) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    const Uuid id = simDock(1, DockEdge::bottom).id;
    w.controller().toggleHeldOut(id);
    w.pinned().setVisible(id, false);
    w.pinned().setVisible(id, true);
    EXPECT_FALSE(w.controller().isHeldOut(id));
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(Peek, EveryHiddenDockShowsWhileTheChordIsHeldAndHidesAfterRelease) {
    open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::left, onDisplay("16-2-22"))});
    settle();
    w.world.input.setKeyDown(kPeekKey, true);
    w.controller().setPeeking(true, kPeekKey);
    for (const auto& [display, n] : {std::pair{kLeft, 1}, {kRight, 1}, {kRight, 2}})
        EXPECT_TRUE(shown(display, n));
    w.world.advance(5);
    EXPECT_TRUE(shown(kRight, 2));

    // The release itself went unseen; the tick finds the key up, and the leave delay has
    // long run out since the docks came out.
    w.world.input.setKeyDown(kPeekKey, false);
    ticks(1);
    w.world.advance(0.25);
    for (const auto& [display, n] : {std::pair{kLeft, 1}, {kRight, 1}, {kRight, 2}})
        EXPECT_FALSE(shown(display, n));
}

TEST_F(Peek, RepeatedPressesRevealOnceAndAReleaseWithoutPressDoesNothing) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    w.controller().setPeeking(false, std::nullopt);
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
    w.controller().setPeeking(true, std::nullopt);
    const RectBL start = w.panel(kLeft, 1)->frame;
    w.world.advance(0.1);
    w.controller().setPeeking(true, std::nullopt);
    EXPECT_NE(w.panel(kLeft, 1)->frame, start) << "the reveal was not started over";
    w.world.advance(5);
    EXPECT_TRUE(shown(kLeft, 1)) << "without a key code only the release ends the peek";
    w.controller().setPeeking(false, std::nullopt);
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(Peek, DuringATileDragPeekOnlyRecordsAndRevealsAfterTheDrag) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"), 1)});
    settle();
    w.pinned().setDragSession(DragSession{"app:app1.0", simDock(1, DockEdge::bottom).id});
    w.world.input.setKeyDown(kPeekKey, true);
    w.controller().setPeeking(true, kPeekKey);
    ticks(3);
    EXPECT_FALSE(shown(kLeft, 1));
    w.pinned().setDragSession(std::nullopt);
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(InteractionLock, AnOpenPopoverKeepsItsDockAndItsPartnerRevealed) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(2, DockEdge::bottom, onDisplay("16-1-11"))});
    const PanelKey key{kLeft, simDock(1, DockEdge::bottom).id};
    w.controller().setInteractionLock(true, key);
    w.world.advance(10);
    EXPECT_TRUE(shown(kLeft, 1));
    EXPECT_TRUE(shown(kLeft, 2));

    w.controller().setInteractionLock(false, key);
    ticks(4);
    EXPECT_TRUE(shown(kLeft, 1));
    ticks(3);
    w.world.advance(0.25);
    EXPECT_FALSE(shown(kLeft, 1));
    EXPECT_FALSE(shown(kLeft, 2));
}

TEST_F(InteractionLock, ALockRevealsAHiddenDockAndTwoLocksNeedTwoUnlocks) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    const PanelKey key{kLeft, simDock(1, DockEdge::bottom).id};
    w.controller().setInteractionLock(false, key);  // stays at 0
    w.controller().setInteractionLock(true, key);
    EXPECT_TRUE(shown(kLeft, 1));
    w.controller().setInteractionLock(true, key);
    w.controller().setInteractionLock(false, key);
    w.world.advance(5);
    EXPECT_TRUE(shown(kLeft, 1));
    w.controller().setInteractionLock(false, key);
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(InteractionLock, TheDocksViewHoldsItOutThroughItsContent) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    const auto* content = w.panel(kLeft, 1)->shown<DockContent>();
    ASSERT_NE(content, nullptr);
    ASSERT_TRUE(content->onInteractionLock);
    content->onInteractionLock(true);
    EXPECT_TRUE(shown(kLeft, 1));
    w.world.advance(5);
    EXPECT_TRUE(shown(kLeft, 1));
    content->onInteractionLock(false);
    settle();
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(InteractionLock, ALockTakenDuringTheHideKeepsTheDockOrderedIn) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    ticks(6);
    w.world.advance(0.05);
    const PanelKey key{kLeft, simDock(1, DockEdge::bottom).id};
    w.controller().setInteractionLock(true, key);
    w.world.advance(2);
    EXPECT_TRUE(shown(kLeft, 1));
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 1);
}

}  // namespace
}  // namespace quillbern
