#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/platform/SystemThreads.h"

using namespace quillbern;
using ::testing::ElementsAre;

namespace {

// A safety net only: every wait below ends as soon as what it waits for happens.
constexpr auto kPatience = std::chrono::seconds(5);

// Holds a work item on the queue's thread until the test opens it.
class Gate {
public:
    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    void pass() {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, kPatience, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

std::string threadName() {
    char name[16] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    return name;
}

}  // namespace

TEST(SerialQueue, RunsItsWorkInOrderOnANamedThreadSkippingWhatWasCancelled) {
    SystemThreads threads;
    auto queue = threads.serialQueue("quillbern.files");
    ASSERT_TRUE(queue);
    std::vector<std::string> ran;  // written on the queue's thread only, read after `done`
    std::promise<void> done;
    Gate gate;
    const CancelToken cancelled;

    queue->async({}, [&](const CancelToken&) { gate.pass(); });
    queue->async({}, [&](const CancelToken&) { ran.push_back("first on " + threadName()); });
    queue->async(cancelled, [&](const CancelToken&) { ran.push_back("cancelled"); });
    queue->async({}, [&](const CancelToken&) {
        ran.push_back("last");
        done.set_value();
    });
    cancelled.cancel();
    gate.open();

    ASSERT_EQ(done.get_future().wait_for(kPatience), std::future_status::ready);
    EXPECT_THAT(ran, ElementsAre("first on quillbern.files", "last"));
}

TEST(SerialQueue, GoingAwayWaitsForTheItemThatRuns) {
    SystemThreads threads;
    auto queue = threads.serialQueue("quillbern.files");
    ASSERT_TRUE(queue);
    std::promise<void> started;
    bool finished = false;  // written on the queue's thread before the queue ends
    Gate gate;

    queue->async({}, [&](const CancelToken&) {
        started.set_value();
        gate.pass();
        finished = true;
    });
    ASSERT_EQ(started.get_future().wait_for(kPatience), std::future_status::ready);
    std::thread opener([&] { gate.open(); });
    queue.reset();
    opener.join();

    EXPECT_TRUE(finished);
    EXPECT_FALSE(threads.hasLeftWorkersBehind());
}

TEST(SerialQueue, AnItemStuckPastTheLimitHasItsThreadLeftBehindAndWorkNotBegunDropped) {
    SystemThreads threads;
    auto queue = threads.serialQueue("quillbern.files");
    ASSERT_TRUE(queue);
    std::promise<void> started;
    auto gate = std::make_shared<Gate>();
    queue->async({}, [&started, gate](const CancelToken&) {
        started.set_value();
        gate->pass();
    });
    // Tells when the queue is done with the later item, run or dropped.
    struct Released {
        std::promise<void> promise;
        ~Released() { promise.set_value(); }
    };
    auto released = std::make_shared<Released>();
    std::future<void> laterReleased = released->promise.get_future();
    auto laterRan = std::make_shared<std::atomic<bool>>(false);
    queue->async({}, [released = std::move(released), laterRan](const CancelToken&) { *laterRan = true; });
    ASSERT_EQ(started.get_future().wait_for(kPatience), std::future_status::ready);

    queue.reset();
    EXPECT_TRUE(threads.hasLeftWorkersBehind());
    gate->open();
    ASSERT_EQ(laterReleased.wait_for(kPatience), std::future_status::ready);
    EXPECT_FALSE(*laterRan);
}
