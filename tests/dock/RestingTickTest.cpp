#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "dock/AutoHideFixture.h"

namespace quillbern {
namespace {

using testing::AutoHide;
using testing::DockTestWorld;
using testing::kAway;
using testing::kLeft;
using testing::kRight;
using testing::onDisplay;

constexpr KeyCode kPeekKey = 35;

class RestingTick : public AutoHide {};

// One step of a scripted session, at a time that is no multiple of the tick period.
struct Step {
    double at;
    std::function<void(DockTestWorld&)> act;
};

// What a person sees of every panel, sampled every 10 ms.
std::vector<std::string> trace(DockTestWorld& w, const std::vector<Profile>& docks, const std::vector<Step>& script,
                               double until) {
    w.world.input.setPointer(kAway);
    w.open(docks);
    w.controller().start();
    std::vector<std::string> samples;
    std::size_t next = 0;
    for (int ms = 0; ms <= int(until * 1000); ms += 10) {
        while (next < script.size() && int(script[next].at * 1000) <= ms)
            script[next++].act(w);
        std::ostringstream sample;
        sample << ms << ":";
        for (const PanelKey& key : w.controller().panelKeys()) {
            const SimPanelState* panel = w.world.panels.panel(*w.controller().panelSerial(key));
            sample << " " << panel->visible << "/" << panel->alpha << "@" << panel->frame.x << "," << panel->frame.y;
        }
        samples.push_back(sample.str());
        w.world.advance(0.01);
    }
    return samples;
}

TEST_F(RestingTick, DecidesEveryRevealDwellHideHoldAndPeekOnTheSameTickAsAnUnrestingOne) {
    const std::vector<Profile> docks{
        simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(2, DockEdge::top, onDisplay("16-1-11")),
        simDock(3, DockEdge::left, onDisplay("16-2-22")), simDock(4, DockEdge::bottom, onDisplay("16-2-22")),
        simDock(5, DockEdge::bottom, onDisplay("16-2-22"))};
    const PanelKey bottom{kLeft, docks[0].id};
    const auto point = [](PointBL p) { return [p](DockTestWorld& w) { w.world.input.setPointer(p); }; };
    const std::vector<Step> script{
        {1.53, point({960, 1})},     // a free edge: revealed on the next tick
        {2.01, point({960, 40})},    // resting on the shown dock, which holds it
        {4.77, point(kAway)},        // the leave delay counts from the last tick it was held
        {6.05, point({960, 1060})},  // the top edge dwells
        {6.19, point(kAway)},
        {6.31, point({960, 1060})},
        {7.9, point(kAway)},
        {8.44, [&](DockTestWorld& w) { w.controller().toggleHeldOut(docks[0].id); }},
        {9.97, [&](DockTestWorld& w) { w.controller().toggleHeldOut(docks[0].id); }},
        {11.13,
         [](DockTestWorld& w) {
             w.world.input.setKeyDown(kPeekKey, true);
             w.controller().setPeeking(true, kPeekKey);
         }},
        {12.55, [](DockTestWorld& w) { w.world.input.setKeyDown(kPeekKey, false); }},
        {14.07, [&](DockTestWorld& w) { w.controller().setInteractionLock(true, bottom); }},
        {15.49, [&](DockTestWorld& w) { w.controller().setInteractionLock(false, bottom); }},
        {16.33, point({2600, 1})},  // two docks of one edge come out together
        {16.9, point({2600, 60})},
        {18.41,
         [&](DockTestWorld& w) {
             w.pinned().setDragSession(DragSession{"app:x", docks[3].id});
         }},
        {18.5, point(kAway)},
        {20.03, [](DockTestWorld& w) { w.pinned().setDragSession(std::nullopt); }},
        {21.11, [](DockTestWorld& w) { w.world.input.setMenuOpen(true); }},
        {21.25, point({1915, 500})},  // a seam, held back by the open menu
        {22.62, [](DockTestWorld& w) { w.world.input.setMenuOpen(false); }},
        {23.5, point(kAway)},
        {24.07, [](DockTestWorld& w) { w.preferences->setAutoHide(false); }},
        {25.53, [](DockTestWorld& w) { w.preferences->setAutoHide(true); }},
        {26.01, [](DockTestWorld& w) { w.preferences->setRevealDelay(0.72); }},
        {26.3, point({960, 1060})},
    };

    DockTestWorld polling;
    polling.world.input.setReportsMotion(false);  // never rests: the reference
    const std::vector<std::string> expected = trace(polling, docks, script, 29);
    const std::vector<std::string> actual = trace(w, docks, script, 29);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "first difference at sample " << i;
    EXPECT_LT(w.world.input.pointerReads() * 2, polling.world.input.pointerReads()) << "the tick rested meanwhile";
}

TEST_F(RestingTick, RestsWhileThePointerRestsAndReadsNothing) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    EXPECT_TRUE(w.controller().isTickResting());
    const int reads = w.world.input.pointerReads();
    w.world.advance(60);
    EXPECT_EQ(w.world.input.pointerReads(), reads);

    // Motion that touches nothing wakes the tick for one look, then it rests again.
    pointAt({700, 700});
    EXPECT_FALSE(w.controller().isTickResting());
    ticks(1);
    EXPECT_EQ(w.world.input.pointerReads(), reads + 1);
    EXPECT_TRUE(w.controller().isTickResting());
}

TEST_F(RestingTick, MotionAfterARestRevealsOnTheNextTickOfTheGrid) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    w.world.advance(10 * DockController::kTickPeriod + 0.05);  // hidden and resting, 50 ms past a tick
    ASSERT_TRUE(w.controller().isTickResting());
    ASSERT_FALSE(shown(kLeft, 1));
    pointAt({960, 1});
    w.world.advance(0.069);
    EXPECT_FALSE(shown(kLeft, 1)) << "no tick before the grid's next";
    w.world.advance(0.001);
    EXPECT_TRUE(shown(kLeft, 1)) << "11 ticks after the start";
}

TEST_F(RestingTick, APointerRestingOnAShownDockHidesItOnTimeOnceItLeaves) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    pointAt({960, 40});
    w.world.advance(5);
    ASSERT_TRUE(w.controller().isTickResting());
    // Held at every tick up to 5.04 s: the leave delay runs from there, not from the rest.
    w.world.advance(0.11);
    pointAt(kAway);
    w.world.advance(0.6 + 0.01);  // up to 5.76 s: 0.6 s since the last held tick, not more
    EXPECT_EQ(w.panel(kLeft, 1)->alpha, 1);
    w.world.advance(0.12);  // the tick at 5.76 s is past the delay
    EXPECT_LT(w.panel(kLeft, 1)->alpha, 1);
}

TEST_F(RestingTick, WithAutoHideOffNoTickRunsAndThePointerIsNotFollowed) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    w.preferences->setAutoHide(false);
    w.world.advance(1);
    EXPECT_TRUE(w.controller().isTickResting());
    EXPECT_EQ(w.world.input.motionListeners(), 0u);
    const int reads = w.world.input.pointerReads();
    pointAt({960, 1});
    w.world.advance(60);
    EXPECT_EQ(w.world.input.pointerReads(), reads);
    EXPECT_TRUE(shown(kLeft, 1));

    w.preferences->setAutoHide(true);
    EXPECT_FALSE(w.controller().isTickResting());
    EXPECT_EQ(w.world.input.motionListeners(), 0u);
    ticks(1);
    EXPECT_EQ(w.world.input.motionListeners(), 1u);
}

TEST_F(RestingTick, WhatChangesBesideThePointerWakesTheTick) {
    Profile knock = simDock(2, DockEdge::bottom, onDisplay("16-2-22"));
    knock.revealMode = RevealMode::knock;
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), knock});
    WindowInfo video;
    video.id = 7;
    video.isOnScreen = true;
    video.isFullscreen = true;
    video.displayID = kLeft;
    video.frame = {0, 0, 1920, 1080};
    w.engine->apply(WindowSnapshot{{video}});
    settle();
    pointAt({960, 1});  // on the edge, but the full-screen window wants a knock
    ticks(3);
    ASSERT_FALSE(shown(kLeft, 1));
    ASSERT_TRUE(w.controller().isTickResting());
    w.engine->apply(WindowSnapshot{});
    EXPECT_FALSE(w.controller().isTickResting());
    ticks(1);
    EXPECT_TRUE(shown(kLeft, 1));

    pointAt({resting(kRight, 2).midX(), 1});
    settle();  // the left dock hides again
    ASSERT_FALSE(shown(kRight, 2));
    ASSERT_TRUE(w.controller().isTickResting());
    w.pinned().setRevealMode(knock.id, RevealMode::hover);
    ticks(1);
    EXPECT_TRUE(shown(kRight, 2));
}

TEST_F(AutoHide, ARevealedDockHidesOnTimeWhenTheWallClockStepsBack) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11"))});
    settle();
    pointAt({960, 1});
    ticks(1);
    ASSERT_TRUE(shown(kLeft, 1));
    w.world.clock.stepWallClock(-3600);
    pointAt(kAway);
    ticks(6);
    w.world.advance(0.25);
    EXPECT_FALSE(shown(kLeft, 1));
}

}  // namespace
}  // namespace quillbern
