#include <gtest/gtest.h>

#include "core/platform/EasedValue.h"
#include "core/platform/FrameTicker.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

constexpr Animation kQuarter{0.25, AnimationCurve::linear};

TEST(EasedValue, EasesToItsTargetAndTurnsFromWhereItStands) {
    EasedValue value;
    value.animateTo(1, kQuarter, MediaTime{10});
    EXPECT_TRUE(value.isMoving(MediaTime{10}));
    EXPECT_DOUBLE_EQ(value.value(MediaTime{10.125}), 0.5);
    EXPECT_DOUBLE_EQ(value.value(MediaTime{10.25}), 1);
    EXPECT_FALSE(value.isMoving(MediaTime{10.25}));

    // Turned back halfway: it starts from where it stood, not from its old target.
    value.animateTo(0, kQuarter, MediaTime{11});
    value.animateTo(1, kQuarter, MediaTime{11.125});
    EXPECT_DOUBLE_EQ(value.value(MediaTime{11.125}), 0.5);
    // The same target again keeps the course.
    value.animateTo(1, kQuarter, MediaTime{11.2});
    EXPECT_DOUBLE_EQ(value.value(MediaTime{11.25}), 0.5 + 0.5 * 0.5);

    value.set(0.3);
    EXPECT_FALSE(value.isMoving(MediaTime{11.25}));
    EXPECT_DOUBLE_EQ(value.value(MediaTime{11.25}), 0.3);
}

TEST(EasedValue, EaseOutCoversMostOfTheWayEarly) {
    EasedValue value;
    value.animateTo(1, {0.2, AnimationCurve::easeOut}, MediaTime{0});
    EXPECT_DOUBLE_EQ(value.value(MediaTime{0.1}), 0.75);
}

TEST(FrameTicker, RedrawsEachFrameWhileAValueMovesAndOnceAtRest) {
    SimWorld world;
    EasedValue value;
    int redraws = 0;
    FrameTicker ticker(
        world.frames, [&](MediaTime now) { return value.isMoving(now); }, [&] { ++redraws; });

    ticker.kick();
    EXPECT_EQ(redraws, 1) << "a change at rest is drawn once";
    EXPECT_FALSE(ticker.isTicking());

    world.advance(1);
    value.animateTo(1, {0.1, AnimationCurve::linear}, world.clock.mediaNow());
    ticker.kick();
    EXPECT_TRUE(ticker.isTicking());
    world.advance(1);
    EXPECT_FALSE(ticker.isTicking());
    EXPECT_EQ(redraws, 2 + 6) << "about six frames in 0.1 s, the last at rest";
}

TEST(FrameTicker, ChangesWithinAFrameOfTheLastRedrawAreDrawnTogetherAtTheNext) {
    SimWorld world;
    int redraws = 0;
    FrameTicker ticker(
        world.frames, [](MediaTime) { return false; }, [&] { ++redraws; });

    ticker.kick();
    world.advance(FrameTicker::kFrameInterval / 4);
    for (int i = 0; i < 5; ++i)
        ticker.kick();
    EXPECT_EQ(redraws, 1) << "a burst within the frame waits for the frame's end";
    world.advance(FrameTicker::kFrameInterval);
    EXPECT_EQ(redraws, 2) << "and is drawn once";
    EXPECT_FALSE(ticker.isTicking());

    world.advance(1);
    ticker.kick();
    EXPECT_EQ(redraws, 3) << "a change long after the last frame is drawn at once";
}

// A real clock moves on while a frame is drawn.
class ClockThatMovesWhileDrawing final : public Clock {
public:
    explicit ClockThatMovesWhileDrawing(const Clock& base) : base_(base) {}
    WallTime wallNow() const override { return base_.wallNow() + spent; }
    MediaTime mediaNow() const override { return base_.mediaNow() + spent; }
    Duration spent = 0;

private:
    const Clock& base_;
};

TEST(FrameTicker, TheLastFrameShowsTheValueAtRestWhereverTheEndFallsInAFrame) {
    for (int ms = 50; ms <= 150; ++ms) {
        SimWorld world;
        ClockThatMovesWhileDrawing clock(world.clock);
        FrameClock frames(world.mainLoop, clock);
        EasedValue value;
        double drawn = -1;
        FrameTicker ticker(
            frames, [&](MediaTime now) { return value.isMoving(now); },
            [&] {
                drawn = value.value(clock.mediaNow());
                clock.spent += 0.004;
            });
        value.animateTo(1, {ms / 1000.0, AnimationCurve::linear}, clock.mediaNow());
        ticker.kick();
        world.advance(1);
        EXPECT_FALSE(ticker.isTicking());
        EXPECT_DOUBLE_EQ(drawn, 1) << "an animation of " << ms << " ms";
    }
}

}  // namespace
}  // namespace quillbern
