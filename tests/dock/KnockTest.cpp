#include <gtest/gtest.h>
#include <vector>

#include "core/dock/KnockGlint.h"
#include "dock/AutoHideFixture.h"

namespace quillbern {
namespace {

using testing::AutoHide;
using testing::kAway;
using testing::kLeft;
using Tempo = DockPreferences::KnockTempo;

constexpr PointBL kTouch{960, 1};

// Knock docks on virtual time. The pointer is set just after a tick, so hold(p, n) means
// that exactly n ticks see it there: a touch held for n ticks lasts n × 0.12 s from the
// tick that saw it come to the tick that sees it gone.
class Knocks : public AutoHide {
protected:
    static Profile knockDock(int n, DockEdge edge) {
        Profile dock = simDock(n, edge, testing::onDisplay("16-1-11"));
        dock.revealMode = RevealMode::knock;
        return dock;
    }
    void openKnockDock(DockEdge edge, Tempo tempo = Tempo::standard) {
        open({knockDock(1, edge)});
        w.preferences->setKnockTempo(tempo);
        settle();
        ASSERT_FALSE(shown(kLeft, 1));
    }
    void hold(PointBL p, int n) {
        pointAt(p);
        ticks(n);
    }
    // Glints still open: shown, or fading out.
    std::vector<const SimPanelState*> glints() const {
        std::vector<const SimPanelState*> found;
        for (std::uint64_t serial = 1; const SimPanelState* panel = w.world.panels.panel(serial); ++serial) {
            if (!panel->closed && panel->shown<GlintContent>()) found.push_back(panel);
        }
        return found;
    }
    // A press in another application, as the system reports it.
    void click(PointBL at) {
        w.world.input.press();
        w.world.events.injectGlobalMouseDown({at, kLeftButton, 0, std::nullopt});
    }
    void arm() {
        hold(kTouch, 1);
        hold(kAway, 1);
        ASSERT_EQ(glints().size(), 1u);
    }
};

// Ticks that each step may take at one tempo: the longest first touch that arms and the
// shortest that does not; the most ticks away after which a touch still reveals and the
// fewest after which it is late; the same for the seam's window.
struct TempoTicks {
    Tempo tempo;
    int armingTouch, tooLongTouch, inTime, late, seamInTime, seamLate;
};

class KnockTempos : public Knocks, public ::testing::WithParamInterface<TempoTicks> {};

INSTANTIATE_TEST_SUITE_P(EachTempo, KnockTempos,
                         ::testing::Values(TempoTicks{Tempo::brisk, 3, 4, 5, 6, 11, 12},
                                           TempoTicks{Tempo::standard, 4, 6, 7, 8, 14, 16},
                                           TempoTicks{Tempo::relaxed, 7, 8, 11, 12, 23, 24}));

TEST_P(KnockTempos, TouchPullBackAndTouchAgainWithinTheWindowRevealsWhileTheGlintShowsTheArmedKnock) {
    openKnockDock(DockEdge::bottom, GetParam().tempo);
    hold(kTouch, GetParam().armingTouch);
    EXPECT_FALSE(shown(kLeft, 1)) << "resting on the edge never reveals a knock dock";
    EXPECT_TRUE(glints().empty());
    hold(kAway, GetParam().inTime);
    ASSERT_EQ(glints().size(), 1u);
    hold(kTouch, 1);
    EXPECT_TRUE(shown(kLeft, 1));
    w.world.advance(glint::kFadeOut.duration);
    EXPECT_TRUE(glints().empty()) << "the reveal takes the glint away";
}

TEST_P(KnockTempos, AFirstTouchHeldTooLongArmsNothing) {
    openKnockDock(DockEdge::bottom, GetParam().tempo);
    hold(kTouch, GetParam().tooLongTouch);
    hold(kAway, 1);
    EXPECT_TRUE(glints().empty());
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_P(KnockTempos, ASecondTouchAfterTheWindowRevealsNothingAndStartsAGestureOfItsOwn) {
    openKnockDock(DockEdge::bottom, GetParam().tempo);
    hold(kTouch, 1);
    hold(kAway, GetParam().late);
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1));
    w.world.advance(glint::kFadeOut.duration);
    EXPECT_TRUE(glints().empty()) << "a lapsed knock takes its glint away";
    hold(kAway, 1);
    hold(kTouch, 1);
    EXPECT_TRUE(shown(kLeft, 1));
}

// A right dock of the left display borders the display beside it.
class SeamKnocks : public KnockTempos {
protected:
    void openSeamDock() {
        openKnockDock(DockEdge::right, GetParam().tempo);
        const RectBL dock = *w.controller().stackedFrame(PanelKey{kLeft, knockDock(1, DockEdge::right).id});
        home = {1900, dock.midY()};
        beside = {1950, dock.midY()};
    }
    PointBL home, beside;
};

INSTANTIATE_TEST_SUITE_P(EachTempo, SeamKnocks,
                         ::testing::Values(TempoTicks{Tempo::brisk, 3, 4, 5, 6, 11, 12},
                                           TempoTicks{Tempo::standard, 4, 6, 7, 8, 14, 16},
                                           TempoTicks{Tempo::relaxed, 7, 8, 11, 12, 23, 24}));

TEST_P(SeamKnocks, CrossingOntoTheNeighbourAndBackTwiceWithinTheWindowsReveals) {
    openSeamDock();
    hold(home, 1);
    hold(beside, GetParam().seamInTime);
    EXPECT_TRUE(glints().empty()) << "out on the neighbour";
    hold(home, 1);
    ASSERT_EQ(glints().size(), 1u) << "back: the glint marks the edge";
    EXPECT_EQ(glints()[0]->frame.x, 1920 - 18);
    // The second crossing and return share the window that began with the first return.
    hold(beside, GetParam().seamInTime - 1);
    EXPECT_FALSE(shown(kLeft, 1));
    hold(home, 1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_P(SeamKnocks, AnyStepSlowerThanTheWindowStartsOverAtHome) {
    openSeamDock();
    hold(home, 1);
    hold(beside, GetParam().seamLate);
    hold(home, 1);
    EXPECT_TRUE(glints().empty()) << "back too late: home again";
    hold(beside, 1);
    hold(home, 1);
    hold(beside, GetParam().seamLate - 1);
    hold(home, 1);
    EXPECT_FALSE(shown(kLeft, 1));
    w.world.advance(glint::kFadeOut.duration);
    EXPECT_TRUE(glints().empty());
    // From home a quick gesture still works.
    hold(beside, 1);
    hold(home, 1);
    hold(beside, 1);
    hold(home, 1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(Knocks, ACrossingFarOutsideTheDocksStretchIsNoGesture) {
    open({knockDock(1, DockEdge::right)});
    settle();
    const RectBL dock = *w.controller().stackedFrame(PanelKey{kLeft, knockDock(1, DockEdge::right).id});
    const double below = dock.minY() - 13;
    for (int i = 0; i < 2; ++i) {
        hold({1900, below}, 1);
        hold({1950, below}, 1);
    }
    hold({1900, below}, 1);
    EXPECT_FALSE(shown(kLeft, 1));
    EXPECT_TRUE(glints().empty());
    // Twelve points past its end still counts.
    const double near = dock.minY() - 12;
    for (int i = 0; i < 2; ++i) {
        hold({1900, near}, 1);
        hold({1950, near}, 1);
    }
    hold({1900, near}, 1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(Knocks, SlidingAlongTheEdgePastTheDocksEndIsNeitherATouchNorAPullBack) {
    openKnockDock(DockEdge::bottom);
    hold(kTouch, 1);
    hold({300, 1}, 2);
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1));
    EXPECT_TRUE(glints().empty());
    // Still the same touch: held far too long by now.
    hold({300, 1}, 4);
    hold(kAway, 1);
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(Knocks, AClickAHeldButtonOrATileDragDropsTheGesture) {
    openKnockDock(DockEdge::bottom);
    arm();
    click(kAway);
    ticks(1);
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1)) << "after a click";
    w.world.advance(glint::kFadeOut.duration);
    EXPECT_TRUE(glints().empty());

    hold(kAway, 1);
    arm();
    w.world.input.setPressedButtons(kLeftButton);
    ticks(1);
    w.world.input.setPressedButtons(0);
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1)) << "with a button held";

    hold(kAway, 1);
    arm();
    w.pinned().setDragSession(DragSession{"app:app1.0", knockDock(1, DockEdge::bottom).id});
    ticks(1);
    w.pinned().setDragSession(std::nullopt);
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1)) << "during a tile drag";

    hold(kAway, 1);
    arm();
    hold(kTouch, 1);
    EXPECT_TRUE(shown(kLeft, 1)) << "undisturbed";
}

TEST_F(Knocks, AnOpenMenuKeepsTouchesFromArmingAndDropsAnArmedKnock) {
    openKnockDock(DockEdge::bottom);
    w.world.input.setMenuOpen(true);
    for (int i = 0; i < 2; ++i) {
        hold(kTouch, 1);
        hold(kAway, 1);
    }
    EXPECT_TRUE(glints().empty());
    EXPECT_FALSE(shown(kLeft, 1));

    w.world.input.setMenuOpen(false);
    arm();
    w.world.input.setMenuOpen(true);
    ticks(1);
    w.world.input.setMenuOpen(false);
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1));
}

TEST_F(Knocks, TheGlintStandsWhereTheDockWillComeFadesInAndFadesOutWhenTheKnockLapses) {
    openKnockDock(DockEdge::bottom);
    const RectBL dock = resting(kLeft, 1);
    arm();
    const SimPanelState& glint = *glints()[0];
    EXPECT_EQ(glint.frame, (RectBL{dock.x, 2, dock.width, 16}));
    EXPECT_TRUE(glint.style.ignoresMouse) << "clicks fall through to what lies beneath";
    EXPECT_EQ(glint.style.level, PanelLevel::dock);
    EXPECT_TRUE(glint.visible);
    EXPECT_LT(glint.alpha, 1);
    w.world.advance(glint::kFadeIn.duration);
    EXPECT_EQ(glint.alpha, 1);
    // The first tick past the 0.9 s window starts the fade.
    w.world.advance(0.7);
    EXPECT_EQ(glint.alpha, 1);
    w.world.advance(0.15);
    EXPECT_FALSE(glint.closed);
    EXPECT_LT(glint.alpha, 1);
    w.world.advance(glint::kFadeOut.duration);
    EXPECT_TRUE(glint.closed);
}

TEST_F(Knocks, PeekOrSwitchingAutoHideOffTakesTheGlintAwayAtOnce) {
    openKnockDock(DockEdge::bottom);
    arm();
    w.controller().setPeeking(true, std::nullopt);
    ticks(1);
    EXPECT_TRUE(glints().empty());
    w.controller().setPeeking(false, std::nullopt);
    settle();

    hold(kAway, 1);
    arm();
    w.preferences->setAutoHide(false);
    ticks(1);
    EXPECT_TRUE(glints().empty());
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(Knocks, ADisplayAttachedBeyondTheEdgeDropsAnArmedKnockAndTheEdgeTakesTheSeamGesture) {
    openKnockDock(DockEdge::bottom);
    arm();
    std::vector<ScreenInfo> screens = testing::twoScreens();
    screens.push_back(simDisplay(3, "16-3-33", {0, -1080, 1920, 1080}, {0, -1080, 1920, 1080}));
    w.world.screens.setScreens(screens);
    w.world.screens.fireChanged();
    ticks(1);
    hold(kTouch, 1);
    EXPECT_FALSE(shown(kLeft, 1));
    w.world.advance(glint::kFadeOut.duration);
    EXPECT_TRUE(glints().empty());
    for (int i = 0; i < 2; ++i) {
        hold({960, 50}, 1);
        hold({960, -50}, 1);
    }
    hold({960, 50}, 1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(Knocks, HidingTheDockDropsItsKnock) {
    openKnockDock(DockEdge::bottom);
    arm();
    w.pinned().setVisible(knockDock(1, DockEdge::bottom).id, false);
    ticks(1);
    w.world.advance(glint::kFadeOut.duration);
    EXPECT_TRUE(glints().empty());
}

// The tick rests while knock docks wait with the pointer away, and knocks still work.
TEST_F(Knocks, TheTickRestsAwayFromTheEdgeAndStaysAwakeWhileAKnockIsUnderWay) {
    openKnockDock(DockEdge::bottom);
    EXPECT_TRUE(w.controller().isTickResting());
    hold(kTouch, 1);
    hold(kAway, 1);
    EXPECT_FALSE(w.controller().isTickResting()) << "an armed knock lapses with time alone";
    ticks(9);
    w.world.advance(glint::kFadeOut.duration);
    EXPECT_TRUE(glints().empty());
    EXPECT_TRUE(w.controller().isTickResting());
}

TEST_F(Knocks, AClickLongBeforeAKnockWhileTheTickRestedDoesNotSpoilIt) {
    openKnockDock(DockEdge::bottom);
    ASSERT_TRUE(w.controller().isTickResting());
    click(kAway);
    w.world.advance(3);
    hold(kTouch, 1);
    hold(kAway, 1);
    hold(kTouch, 1);
    EXPECT_TRUE(shown(kLeft, 1));
}

TEST_F(Knocks, AButtonLetGoWithoutMovingLetsTheNextKnockStart) {
    openKnockDock(DockEdge::bottom);
    ASSERT_TRUE(w.controller().isTickResting());
    w.world.input.setPressedButtons(kLeftButton);
    click(kAway);
    ticks(2);
    w.world.input.setPressedButtons(0);
    w.world.advance(3);
    hold(kTouch, 1);
    hold(kAway, 1);
    hold(kTouch, 1);
    EXPECT_TRUE(shown(kLeft, 1));
}

}  // namespace
}  // namespace quillbern
