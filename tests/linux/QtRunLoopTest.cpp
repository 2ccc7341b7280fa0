#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "linux/qt/QtRunLoop.h"

using namespace quillbern;

namespace {

// Runs the Qt event loop until `done` holds or the safety limit passes.
bool spinUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QDeadlineTimer deadline(limitMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return done();
}

}  // namespace

TEST(QtRunLoop, PostedBlocksRunInOrderIncludingPostsFromOtherThreads) {
    QtRunLoop loop;
    std::vector<int> order;
    std::atomic<bool> otherThreadRanOnMain{false};
    for (int i = 0; i < 5; ++i)
        loop.post([&order, i] { order.push_back(i); });
    std::thread other([&] { loop.post([&] { otherThreadRanOnMain = loop.isCurrent(); }); });
    other.join();
    EXPECT_TRUE(order.empty()) << "posting must not run the block in place";
    ASSERT_TRUE(spinUntil([&] { return otherThreadRanOnMain.load(); }));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(QtRunLoop, TimersFireRepeatAndCancel) {
    QtRunLoop loop;
    int once = 0;
    int repeated = 0;
    int cancelled = 0;
    Timer single = loop.after(0.005, [&] { ++once; });
    Timer repeating;
    repeating = loop.every(0.005, [&] {
        if (++repeated == 3) repeating.cancel();
    });
    Timer dropped = loop.after(0.005, [&] { ++cancelled; });
    dropped.cancel();
    EXPECT_FALSE(dropped.isPending());

    ASSERT_TRUE(spinUntil([&] { return once == 1 && repeated == 3; }));
    EXPECT_FALSE(single.isPending());
    EXPECT_FALSE(repeating.isPending());
    // Another few intervals pass: nothing more fires.
    int later = 0;
    Timer marker = loop.after(0.03, [&] { ++later; });
    ASSERT_TRUE(spinUntil([&] { return later == 1; }));
    EXPECT_EQ(repeated, 3);
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(once, 1);
}

TEST(QtRunLoop, ATimerMadeOffTheGuiThreadStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "contract checks are compiled into debug builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QtRunLoop loop;
    EXPECT_DEATH(std::thread([&] { (void)loop.after(1, [] {}); }).join(), "called off the loop it lives on");
#endif
}

// Handles cancelled on another thread while their timers come due and fire on this one;
// the loop's end then frees every timer, so each task is let go.
TEST(QtRunLoop, TimersCancelledFromAnotherThreadWhileTheyComeDue) {
    auto loop = std::make_unique<QtRunLoop>();
    const auto captured = std::make_shared<int>(0);
    std::vector<Timer> timers;
    for (int i = 0; i < 400; ++i)
        timers.push_back(loop->every(0.001 * (i % 4), [captured] {}));
    std::atomic<bool> done{false};
    std::thread canceller([&] {
        for (Timer& timer : timers)
            timer.cancel();
        done = true;
    });
    EXPECT_TRUE(spinUntil([&] { return done.load(); }));
    canceller.join();
    for (const Timer& timer : timers)
        EXPECT_FALSE(timer.isPending());
    loop.reset();
    EXPECT_EQ(captured.use_count(), 1);
}

TEST(QtRunLoop, DestroyingTheHandleCancelsUnlessDetached) {
    QtRunLoop loop;
    int fired = 0;
    {
        Timer scoped = loop.after(0.001, [&] { fired += 1; });
    }
    loop.after(0.001, [&] { fired += 10; }).detach();
    int done = 0;
    Timer marker = loop.after(0.02, [&] { ++done; });
    ASSERT_TRUE(spinUntil([&] { return done == 1; }));
    EXPECT_EQ(fired, 10);
}
