#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>

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

    // Waits for the count'th snapshot, at most a minute (the machine may be loaded).
    bool waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::minutes(1), [&] { return snapshots_.size() >= count; });
    }
    // Waits for a snapshot that satisfies `wanted`; its index.
    std::optional<std::size_t> waitForOne(const std::function<bool(const WindowSnapshot&)>& wanted) {
        std::unique_lock lock(mutex_);
        std::optional<std::size_t> found;
        arrived_.wait_for(lock, std::chrono::minutes(1), [&] {
            const auto it = std::find_if(snapshots_.begin(), snapshots_.end(), wanted);
            if (it != snapshots_.end()) found = std::size_t(it - snapshots_.begin());
            return found.has_value();
        });
        return found;
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
        return changed_.wait_for(lock, std::chrono::minutes(1), [this] { return isHeld_; });
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
        AXWorker::Ports{.threads = threads,
                        .access = windows,
                        .windowList = list,
                        .screens = screens,
                        .permissions = permissions,
                        .input = input,
                        .clock = clock},
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
    EXPECT_EQ(publishedAfterwards.get_future().wait_for(std::chrono::minutes(1)), std::future_status::ready);
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
        AXWorker::Ports{.threads = threads,
                        .access = windows,
                        .windowList = windows,
                        .screens = screens,
                        .permissions = permissions,
                        .input = input,
                        .clock = clock},
        [&mailbox](const WindowSnapshot& snapshot) { mailbox.put(snapshot); }, [](Pid) {});
    worker->start();

    worker->setApps({{10, "Editor"}});
    ASSERT_TRUE(mailbox.waitFor(1));
    EXPECT_EQ(mailbox.threadName(0), "quillbern.ax");
    EXPECT_EQ(mailbox.at(0).windows.at(0).title, "First");

    // A notification delivered through the observer on the worker's loop. The periodic
    // pass may pick the change up first; either way it is published from the worker.
    windows.set(window, Attribute::title, std::string("Second"));
    windows.notify(10, ElementEvent::titleChanged);
    const auto second = mailbox.waitForOne(
        [](const WindowSnapshot& s) { return !s.windows.empty() && s.windows.front().title == "Second"; });
    ASSERT_TRUE(second);
    EXPECT_EQ(mailbox.threadName(*second), "quillbern.ax");

    worker->requestReconcile();
    worker->shutdown();
    const std::size_t publishedBeforeEnd = mailbox.size();
    worker.reset();
    EXPECT_EQ(windows.observerCount(10), 0);
    EXPECT_EQ(mailbox.size(), publishedBeforeEnd);
    EXPECT_FALSE(log.contains("did not stop"));
}

}  // namespace
}  // namespace quillbern
