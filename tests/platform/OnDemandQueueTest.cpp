#include <gtest/gtest.h>

#include "core/platform/OnDemandQueue.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimClock.h"
#include "sim/SimThreads.h"

using namespace quillbern;

namespace {

constexpr const char* kLabel = "quillbern.files";

class OnDemandQueueTest : public ::testing::Test {
protected:
    OnDemandQueueTest() { loop.setIsMainLoop(true); }

    SimClock clock;
    ManualRunLoop loop{clock};
    SimThreads threads{clock};
    OnDemandQueue queue{threads, loop, kLabel, "no thread"};
};

}  // namespace

TEST_F(OnDemandQueueTest, ItsThreadEndsAfterAnIdleSpellEvenWhenAnItemWasSkippedAndStartsAgainForTheNext) {
    EXPECT_FALSE(queue.isStarted());
    int letGo = 0;
    queue.onLetGo = [&] {
        EXPECT_FALSE(queue.isStarted()) << "told once the thread has ended";
        ++letGo;
    };

    int ran = 0;
    ASSERT_TRUE(queue.async({}, [&](const CancelToken&) { ++ran; }));
    const CancelToken cancelled;
    ASSERT_TRUE(queue.async(cancelled, [&](const CancelToken&) { ++ran; }));
    cancelled.cancel();
    threads.queue(kLabel)->runNext();
    clock.advance(OnDemandQueue::kIdleSpell + 1);
    EXPECT_TRUE(queue.isStarted()) << "an item still waits";

    threads.queue(kLabel)->runAll();
    clock.advance(OnDemandQueue::kIdleSpell - 1);
    EXPECT_TRUE(queue.isStarted());
    EXPECT_EQ(letGo, 0);
    clock.advance(1);
    EXPECT_FALSE(queue.isStarted());
    EXPECT_EQ(threads.queue(kLabel), nullptr);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(letGo, 1);

    ASSERT_TRUE(queue.async({}, [&](const CancelToken&) { ++ran; }));
    threads.queue(kLabel)->runAll();
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(threads.queueLabels().size(), 2U);
}

TEST_F(OnDemandQueueTest, AnItemGivenWhileIdleKeepsTheThreadAndAFailedStartRunsNothing) {
    ASSERT_TRUE(queue.async({}, [](const CancelToken&) {}));
    threads.queue(kLabel)->runAll();
    clock.advance(OnDemandQueue::kIdleSpell - 1);
    ASSERT_TRUE(queue.async({}, [](const CancelToken&) {}));
    clock.advance(OnDemandQueue::kIdleSpell);
    EXPECT_TRUE(queue.isStarted()) << "the spell begins again when the last item ends";
    EXPECT_EQ(threads.queueLabels().size(), 1U);

    threads.queue(kLabel)->runAll();
    clock.advance(OnDemandQueue::kIdleSpell);
    ASSERT_FALSE(queue.isStarted());
    threads.setRefusesStart(true);
    bool ran = false;
    EXPECT_FALSE(queue.async({}, [&](const CancelToken&) { ran = true; }));
    clock.advance(OnDemandQueue::kIdleSpell);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(queue.isStarted());
}
