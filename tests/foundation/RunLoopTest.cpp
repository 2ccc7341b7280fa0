#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sim/ManualRunLoop.h"
#include "sim/SimClock.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

// Each entry: what ran and the virtual time in microseconds when it ran.
struct Trace {
    const SimClock& clock;
    std::vector<std::pair<std::string, Ticks>> entries;

    Task record(std::string name) {
        return [this, name = std::move(name)] { entries.emplace_back(name, clock.now()); };
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : entries)
            out.push_back(entry.first);
        return out;
    }
};

using Names = std::vector<std::string>;

}  // namespace

TEST(RunLoop, PostedTasksWaitForTheClockAndRunInPostOrder) {
    SimWorld world;
    Trace trace{world.clock, {}};
    for (int i = 0; i < 5; ++i)
        world.mainLoop.post(trace.record(std::to_string(i)));
    EXPECT_TRUE(trace.entries.empty());

    world.runUntilIdle();
    EXPECT_EQ(trace.names(), (Names{"0", "1", "2", "3", "4"}));
    EXPECT_EQ(world.clock.now(), 0);
}

TEST(RunLoop, AdvanceRunsDueTimersInTimeOrderAtTheirOwnTimes) {
    SimWorld world;
    Trace trace{world.clock, {}};
    Timer late = world.mainLoop.after(0.3, trace.record("late"));
    Timer early = world.mainLoop.after(0.1, trace.record("early"));
    Timer beyond = world.mainLoop.after(1.5, trace.record("beyond"));

    world.advance(1.0);
    ASSERT_EQ(trace.names(), (Names{"early", "late"}));
    EXPECT_EQ(trace.entries[0].second, 100'000);
    EXPECT_EQ(trace.entries[1].second, 300'000);
    EXPECT_EQ(world.clock.now(), 1'000'000);
    EXPECT_FALSE(early.isPending());
    EXPECT_TRUE(beyond.isPending());

    world.advance(0.5);
    EXPECT_EQ(trace.names().back(), "beyond");
    EXPECT_EQ(trace.entries.back().second, 1'500'000);
}

TEST(RunLoop, EqualTimesRunFifoIncludingWorkScheduledDuringTheAdvance) {
    SimWorld world;
    Trace trace{world.clock, {}};
    Timer a = world.mainLoop.after(1.0, [&] {
        trace.record("a")();
        world.mainLoop.post(trace.record("posted-by-a"));
    });
    Timer b = world.mainLoop.after(1.0, trace.record("b"));
    Timer chained;
    Timer starter = world.mainLoop.after(0.5, [&] {
        trace.record("starter")();
        // Due at 1.0 like a and b, but scheduled after them.
        chained = world.mainLoop.after(0.5, trace.record("chained"));
        // Due inside this advance, though it did not exist when the advance began.
        world.mainLoop.after(0.2, trace.record("at-0.7")).detach();
    });
    Timer outside = world.mainLoop.after(0.9, [&] { world.mainLoop.after(0.2, trace.record("at-1.1")).detach(); });

    world.advance(1.0);
    EXPECT_EQ(trace.names(), (Names{"starter", "at-0.7", "a", "b", "chained", "posted-by-a"}));
    for (std::size_t i = 2; i < trace.entries.size(); ++i)
        EXPECT_EQ(trace.entries[i].second, 1'000'000);

    world.advance(0.1);
    EXPECT_EQ(trace.names().back(), "at-1.1");
    EXPECT_EQ(trace.entries.back().second, 1'100'000);
}

TEST(RunLoop, RepeatingIntervalsAddUpExactly) {
    SimWorld world;
    Trace trace{world.clock, {}};
    Timer tick = world.mainLoop.every(0.12, trace.record("tick"));

    world.advance(0.599999);
    EXPECT_EQ(trace.entries.size(), 4u);
    world.advance(0.000001);
    ASSERT_EQ(trace.entries.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(trace.entries[i].second, static_cast<Ticks>(120'000 * (i + 1)));

    // Many small advances reach the same times as one large one.
    for (int i = 0; i < 5; ++i)
        world.advance(0.12);
    ASSERT_EQ(trace.entries.size(), 10u);
    EXPECT_EQ(trace.entries.back().second, 1'200'000);
    EXPECT_TRUE(tick.isPending());

    tick.cancel();
    EXPECT_FALSE(tick.isPending());
    world.advance(1.0);
    EXPECT_EQ(trace.entries.size(), 10u);
}

TEST(RunLoop, EveryHonoursFirstDelay) {
    SimWorld world;
    Trace trace{world.clock, {}};
    Timer soon = world.mainLoop.every(1.0, trace.record("soon"), 0.25);
    Timer now = world.mainLoop.every(1.0, trace.record("now"), 0.0);

    world.runUntilIdle();
    EXPECT_EQ(trace.names(), (Names{"now"}));
    world.advance(2.5);
    ASSERT_EQ(trace.entries.size(), 6u);
    const std::vector<std::pair<std::string, Ticks>> expected{{"now", 0},         {"soon", 250'000},
                                                              {"now", 1'000'000}, {"soon", 1'250'000},
                                                              {"now", 2'000'000}, {"soon", 2'250'000}};
    EXPECT_EQ(trace.entries, expected);
}

TEST(RunLoop, TimerHandleLifetimeDecidesCancellation) {
    SimWorld world;
    int oneShot = 0;
    int dropped = 0;
    int detached = 0;
    int replaced = 0;
    int replacement = 0;

    Timer cancelled = world.mainLoop.after(0.1, [&] { ++oneShot; });
    cancelled.cancel();
    cancelled.cancel();  // twice is harmless
    {
        Timer goesOutOfScope = world.mainLoop.after(0.1, [&] { ++dropped; });
    }
    {
        Timer kept = world.mainLoop.every(0.1, [&] { ++detached; });
        kept.detach();
        EXPECT_FALSE(kept.isPending());  // the handle no longer knows the timer
    }
    Timer slot = world.mainLoop.after(0.1, [&] { ++replaced; });
    slot = world.mainLoop.after(0.1, [&] { ++replacement; });
    Timer moved = std::move(slot);
    EXPECT_FALSE(slot.isPending());
    EXPECT_TRUE(moved.isPending());

    world.advance(0.35);
    EXPECT_EQ(oneShot, 0);
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(detached, 3);
    EXPECT_EQ(replaced, 0);
    EXPECT_EQ(replacement, 1);
    EXPECT_FALSE(moved.isPending());
}

TEST(RunLoop, TimerCancellingItselfStaysAliveWhileItRuns) {
    SimWorld world;
    auto probe = std::make_shared<int>(7);
    std::weak_ptr<int> watch = probe;
    auto handle = std::make_unique<Timer>();
    int fires = 0;
    bool aliveAfterCancel = false;
    int valueAfterCancel = 0;
    *handle = world.mainLoop.every(0.1, [&, probe = std::move(probe)] {
        ++fires;
        handle.reset();  // destroys the only handle, which cancels the running timer
        aliveAfterCancel = !watch.expired();
        valueAfterCancel = *probe;
    });

    world.advance(1.0);
    EXPECT_EQ(fires, 1);
    EXPECT_TRUE(aliveAfterCancel);
    EXPECT_EQ(valueAfterCancel, 7);
    // Once finished, the cancelled timer lets go of what its task holds.
    EXPECT_TRUE(watch.expired());
}

TEST(RunLoop, TwoLoopsOnOneClockInterleaveInTimeOrder) {
    SimClock clock;
    ManualRunLoop first(clock);
    ManualRunLoop second(clock);
    Trace trace{clock, {}};
    std::vector<std::pair<bool, bool>> current;  // (first, second) as seen from each task
    auto record = [&](const std::string& name) {
        return [&, name] {
            trace.record(name)();
            current.emplace_back(first.isCurrent(), second.isCurrent());
        };
    };
    Timer a = first.after(0.3, record("first@0.3"));
    Timer b = second.after(0.1, record("second@0.1"));
    Timer c = first.after(0.2, record("first@0.2"));
    Timer d = second.after(0.3, record("second@0.3"));

    clock.advance(1.0);
    EXPECT_EQ(trace.names(), (Names{"second@0.1", "first@0.2", "first@0.3", "second@0.3"}));
    const std::vector<std::pair<bool, bool>> expected{{false, true}, {true, false}, {true, false}, {false, true}};
    EXPECT_EQ(current, expected);
}

TEST(RunLoop, IsCurrentOnlyForTheRunningLoopAndTheMainLoopBetweenRuns) {
    SimWorld world;
    ManualRunLoop worker(world.clock);
    EXPECT_TRUE(world.mainLoop.isCurrent());
    EXPECT_FALSE(worker.isCurrent());

    bool mainInWorker = true;
    bool workerInWorker = false;
    bool mainInMain = false;
    bool workerInMain = true;
    worker.post([&] {
        mainInWorker = world.mainLoop.isCurrent();
        workerInWorker = worker.isCurrent();
    });
    world.mainLoop.post([&] {
        mainInMain = world.mainLoop.isCurrent();
        workerInMain = worker.isCurrent();
    });
    world.runUntilIdle();
    EXPECT_FALSE(mainInWorker);
    EXPECT_TRUE(workerInWorker);
    EXPECT_TRUE(mainInMain);
    EXPECT_FALSE(workerInMain);
}

TEST(RunLoop, NoSimulatedLoopIsCurrentOnAnotherThread) {
    SimWorld world;
    bool mainElsewhere = true;
    std::thread([&] { mainElsewhere = world.mainLoop.isCurrent(); }).join();
    EXPECT_FALSE(mainElsewhere);
    EXPECT_TRUE(world.mainLoop.isCurrent());
}

TEST(RunLoop, ACallOffItsLoopStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "contract checks are compiled into debug builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SimWorld world;
    expectOnLoop(world.mainLoop);
    EXPECT_DEATH(std::thread([&] { expectOnLoop(world.mainLoop); }).join(), "called off the loop it lives on");
#endif
}

TEST(RunLoop, CancelledAndFinishedTimersReleaseWhatTheyCaptured) {
    SimWorld world;
    auto captured = std::make_shared<int>(0);
    Timer cancelled = world.mainLoop.after(60, [captured] {});
    Timer finished = world.mainLoop.after(0.1, [captured] {});
    EXPECT_EQ(captured.use_count(), 3);
    cancelled.detach();  // the handle is gone, the timer still waits a minute
    world.mainLoop.after(60, [captured] {}).cancel();
    world.advance(0.2);
    EXPECT_EQ(captured.use_count(), 2) << "the finished one-shot and the cancelled timer let go";
}

TEST(RunLoop, ManualSourcesOnOneDescriptorAreIndependent) {
    SimWorld world;
    ManualRunLoop worker(world.clock);
    int first = 0;
    int second = 0;
    Subscription a = worker.addReadable(7, [&] { ++first; });
    Subscription b = worker.addReadable(7, [&] { ++second; });
    worker.signalReadable(7);
    world.runUntilIdle();
    a.reset();
    worker.signalReadable(7);
    world.runUntilIdle();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST(RunLoop, ManualReadableSourcesAndStop) {
    SimWorld world;
    ManualRunLoop worker(world.clock);
    int reads = 0;
    Subscription source = worker.addReadable(5, [&] { ++reads; });
    EXPECT_EQ(worker.sourceCount(), 1u);

    worker.signalReadable(5);
    worker.signalReadable(6);  // not watched
    EXPECT_EQ(reads, 0);
    world.runUntilIdle();
    EXPECT_EQ(reads, 1);

    // Data that arrived before the source was removed is not delivered after.
    worker.signalReadable(5);
    source.reset();
    world.runUntilIdle();
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(worker.sourceCount(), 0u);

    int ran = 0;
    worker.post([&] { ++ran; });
    Timer timer = worker.after(0.1, [&] { ++ran; });
    worker.stop();
    worker.post([&] { ++ran; });
    world.advance(1.0);
    EXPECT_EQ(ran, 0);
    EXPECT_TRUE(worker.isStopped());
}
