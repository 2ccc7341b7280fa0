#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <gtest/gtest.h>
#include <mutex>

#include "core/platform/SystemThreads.h"
#include "core/windows/AXWorker.h"
#include "sim/SimInputState.h"
#include "sim/SimLog.h"
#include "sim/SimPermissions.h"
#include "sim/SimScreens.h"
#include "sim/SimWindowSystem.h"

namespace quillbern {
namespace {

// Snapshots handed over by the worker thread; the test waits for them with a limit.
class Mailbox {
public:
    void put(const WindowSnapshot& snapshot) {
        char name[16] = {};
        pthread_getname_np(pthread_self(), name, sizeof name);
        {
            std::lock_guard lock(mutex_);
            snapshots_.push_back(snapshot);
            threadNames_.emplace_back(name);
        }
        arrived_.notify_all();
    }

    // Waits for the count'th snapshot, at most five seconds.
    bool waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::seconds(5), [&] { return snapshots_.size() >= count; });
    }

    WindowSnapshot at(std::size_t index) {
        std::lock_guard lock(mutex_);
        return snapshots_.at(index);
    }
    std::string threadName(std::size_t index) {
        std::lock_guard lock(mutex_);
        return threadNames_.at(index);
    }
    std::size_t size() {
        std::lock_guard lock(mutex_);
        return snapshots_.size();
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<WindowSnapshot> snapshots_;
    std::vector<std::string> threadNames_;
};

// A window list whose next reading, once held, waits until it is let go.
class HeldWindowList final : public WindowList {
public:
    std::optional<std::vector<ListedWindow>> onScreenWindows() const override {
        std::unique_lock lock(mutex_);
        if (!holding_) return std::vector<ListedWindow>{};
        isHeld_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !holding_; });
        return std::vector<ListedWindow>{};
    }

    void hold() {
        std::lock_guard lock(mutex_);
        holding_ = true;
    }
    bool waitUntilHeld() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [this] { return isHeld_; });
    }
    void letGo() {
        {
            std::lock_guard lock(mutex_);
            holding_ = false;
        }
        changed_.notify_all();
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool holding_ = false;
    mutable bool isHeld_ = false;
};

TEST(WorkerThread, AWorkerStuckPastItsStopLimitIsLeftBehindAndFinishesItsStepWithItsPorts) {
    SimLog log;
    SystemThreads threads;
    SimWindowSystem windows;
    HeldWindowList list;
    SimScreens screens;
    SimPermissions permissions;
    SimInputState input;
    SystemClock clock;
    std::atomic<bool> letGo{false};
    std::promise<void> publishedAfterwards;
    std::atomic<bool> told{false};

    auto worker = std::make_unique<AXWorker>(
        AXWorker::Ports{threads, windows, list, screens, permissions, input, clock},
        [&](const WindowSnapshot&) {
            if (letGo && !told.exchange(true)) publishedAfterwards.set_value();
        },
        [](Pid) {});
    worker->start();
    list.hold();
    worker->requestReconcile();
    ASSERT_TRUE(list.waitUntilHeld());

    const auto stoppingAt = std::chrono::steady_clock::now();
    worker.reset();
    EXPECT_GE(std::chrono::steady_clock::now() - stoppingAt, std::chrono::duration<double>(AXWorker::kWaitLimit));
    EXPECT_TRUE(log.contains("did not stop"));
    EXPECT_TRUE(threads.hasLeftWorkersBehind()) << "whoever owns the ports must now keep them";

    // The ports were kept: the worker ends its step with them.
    letGo = true;
    list.letGo();
    EXPECT_EQ(publishedAfterwards.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
}

TEST(WorkerThread, TracksWindowsOnItsOwnNamedThreadAndStopsPromptly) {
    SimLog log;
    SystemThreads threads;
    SimWindowSystem windows;
    SimScreens screens;
    ScreenInfo primary;
    primary.id = 1;
    primary.frame = {0, 0, 1920, 1080};
    screens.setScreens({primary});
    SimPermissions permissions;
    SimInputState input;
    SystemClock clock;
    Mailbox mailbox;
    const ElementRef window = windows.addWindow(10, {.id = 21, .title = "First", .frame = {0, 0, 100, 100}});

    auto worker = std::make_unique<AXWorker>(
        AXWorker::Ports{threads, windows, windows, screens, permissions, input, clock},
        [&mailbox](const WindowSnapshot& snapshot) { mailbox.put(snapshot); }, [](Pid) {});
    const auto startedAt = std::chrono::steady_clock::now();
    worker->start();
    // Start waits for the loop only, not for any work on it.
    EXPECT_LT(std::chrono::steady_clock::now() - startedAt, std::chrono::milliseconds(500));

    worker->setApps({{10, "Editor"}});
    ASSERT_TRUE(mailbox.waitFor(1));
    EXPECT_EQ(mailbox.threadName(0), "quillbern.ax");
    EXPECT_EQ(mailbox.at(0).windows.at(0).title, "First");

    // A notification delivered through the observer on the worker's loop.
    windows.set(window, Attribute::title, std::string("Second"));
    windows.notify(10, ElementEvent::titleChanged);
    ASSERT_TRUE(mailbox.waitFor(2));
    EXPECT_EQ(mailbox.at(1).windows.at(0).title, "Second");

    worker->requestReconcile();
    worker->shutdown();
    const auto stoppingAt = std::chrono::steady_clock::now();
    const std::size_t publishedBeforeEnd = mailbox.size();
    worker.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - stoppingAt, std::chrono::seconds(1));
    EXPECT_EQ(windows.observerCount(10), 0);
    EXPECT_EQ(mailbox.size(), publishedBeforeEnd);
    EXPECT_FALSE(log.contains("did not stop"));
}

}  // namespace
}  // namespace quillbern
