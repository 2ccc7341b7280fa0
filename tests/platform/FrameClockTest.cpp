#include <algorithm>
#include <gtest/gtest.h>

#include "core/platform/EasedValue.h"
#include "core/platform/FrameTicker.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

constexpr Animation kTenth{0.1, AnimationCurve::linear};

// A view that redraws while its value moves, noting when.
struct MovingView {
    MovingView(SimWorld& world, FrameClock& frames)
        : world(world),
          ticker(
              frames, [this](MediaTime now) { return value.isMoving(now); },
              [this] { redraws.push_back(this->world.clock.mediaNow().seconds); }) {}
    void move() {
        value.animateTo(value.target() + 1, kTenth, world.clock.mediaNow());
        ticker.kick();
    }

    SimWorld& world;
    EasedValue value;
    std::vector<double> redraws;
    FrameTicker ticker;
};

TEST(FrameClock, ViewsThatMoveTogetherAreDrawnInTheSameFrames) {
    SimWorld world;
    MovingView first(world, world.frames);
    MovingView second(world, world.frames);
    first.move();
    world.advance(FrameClock::kFrameInterval / 3);
    second.move();
    world.advance(0.05);
    ASSERT_GE(first.redraws.size(), 3u);
    EXPECT_EQ(second.redraws.front(), first.redraws[1]) << "the later view joins the frame under way";
    EXPECT_EQ(std::vector(first.redraws.begin() + 1, first.redraws.end()), second.redraws);
}

TEST(FrameClock, NoFrameRunsWhileThePacerWaitsAndThoseMissedAreNotMadeUp) {
    SimWorld world;
    FrameClock frames(world.mainLoop, world.clock);
    std::vector<Task> held;
    frames.setPacer([&](Task frame) { held.push_back(std::move(frame)); });
    MovingView view(world, frames);
    view.value.animateTo(1, {2.0, AnimationCurve::linear}, world.clock.mediaNow());
    view.ticker.kick();
    ASSERT_EQ(view.redraws.size(), 1u) << "drawn at once";

    world.advance(1);
    EXPECT_EQ(held.size(), 1u) << "one frame waits, and no other is asked for";
    EXPECT_EQ(view.redraws.size(), 1u);

    std::exchange(held, {}).front()();
    EXPECT_EQ(view.redraws.size(), 2u);
    // The pacer answers at once from now on: a frame each interval, not a burst of those missed.
    frames.setPacer([](Task frame) { frame(); });
    world.advance(0.1);
    EXPECT_NEAR(double(view.redraws.size()), 2 + 0.1 / FrameClock::kFrameInterval, 1);
}

// A view whose value shows in whole steps: a tenth of its second-long move each.
struct SteppedView {
    SteppedView(SimWorld& world, FrameClock& frames)
        : world(world),
          ticker(
              frames, [this](MediaTime now) { return value.isMoving(now); },
              [this] { redraws.push_back(this->world.clock.mediaNow().seconds); },
              [this](MediaTime now) {
                  for (MediaTime at = now + FrameClock::kFrameInterval;; at = at + FrameClock::kFrameInterval) {
                      if (step(at) != step(now) || !value.isMoving(at)) return at;
                  }
              }) {}
    int step(MediaTime at) const { return static_cast<int>(value.value(at) * 10); }

    SimWorld& world;
    EasedValue value;
    std::vector<double> redraws;
    FrameTicker ticker;
};

TEST(FrameClock, AViewThatMovesInStepsIsDrawnAtTheFramesOfItsStepsAlone) {
    SimWorld world;
    FrameClock frames(world.mainLoop, world.clock);
    int ticks = 0;
    frames.setPacer([&](Task frame) {
        ++ticks;
        frame();
    });
    SteppedView stepped(world, frames);
    stepped.value.animateTo(1, {1.0, AnimationCurve::linear}, world.clock.mediaNow());
    stepped.ticker.kick();
    world.advance(1.2);
    EXPECT_NEAR(double(stepped.redraws.size()), 11, 1) << "the first frame and one a step";
    EXPECT_EQ(ticks, int(stepped.redraws.size()) - 1) << "no frame woke the clock between steps";

    // Beside a view drawn each frame, its steps come in that view's frames.
    MovingView moving(world, frames);
    moving.value.animateTo(1, {1.0, AnimationCurve::linear}, world.clock.mediaNow());
    moving.ticker.kick();
    stepped.redraws.clear();
    stepped.value.animateTo(0, {1.0, AnimationCurve::linear}, world.clock.mediaNow());
    stepped.ticker.kick();
    world.advance(0.5);
    ASSERT_GE(stepped.redraws.size(), 5u);
    for (const double at : stepped.redraws)
        EXPECT_TRUE(std::ranges::find(moving.redraws, at) != moving.redraws.end()) << at;

    // A change while it waits for its next step is drawn at the next frame.
    const std::size_t before = stepped.redraws.size();
    world.advance(FrameClock::kFrameInterval * 1.5);
    stepped.value.animateTo(1, {1.0, AnimationCurve::linear}, world.clock.mediaNow());
    stepped.ticker.kick();
    world.advance(FrameClock::kFrameInterval);
    EXPECT_GT(stepped.redraws.size(), before);
}

}  // namespace
}  // namespace quillbern
