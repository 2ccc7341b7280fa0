#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/foundation/ThreadRunLoop.h"

using namespace quillbern;

namespace {

// A safety net only: every wait below ends as soon as its result arrives.
constexpr auto kPatience = std::chrono::seconds(5);

template <class T>
T await(std::future<T>& future) {
    if (future.wait_for(kPatience) != std::future_status::ready) {
        ADD_FAILURE() << "timed out waiting for the loop";
        std::fflush(stdout);
        std::abort();  // later steps would touch locals the loop still refers to
    }
    return future.get();
}

// Runs fn on the loop and returns its result.
template <class Fn>
auto onLoopThread(ThreadRunLoop& loop, Fn fn) {
    using T = decltype(fn());
    auto promise = std::make_shared<std::promise<T>>();
    auto future = promise->get_future();
    loop.post([promise, fn] { promise->set_value(fn()); });
    return await(future);
}

// Records strings from the loop thread; the test thread waits for a count.
class Recorder {
public:
    void add(std::string entry) {
        std::lock_guard lock(mutex_);
        entries_.push_back(std::move(entry));
        changed_.notify_all();
    }
    std::vector<std::string> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, kPatience, [&] { return entries_.size() >= count; })) {
            ADD_FAILURE() << "timed out with " << entries_.size() << " of " << count << " entries";
        }
        return entries_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> entries_;
};

std::vector<std::string> threadNamesOfThisProcess() {
    std::vector<std::string> names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        names.push_back(name);
    }
    return names;
}

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
            read = fds[0];
            write = fds[1];
        }
    }
    ~Pipe() {
        ::close(read);
        ::close(write);
    }
    void send(char c) const { ASSERT_EQ(::write(write, &c, 1), 1); }
    std::string drain() const {
        std::string out;
        char buffer[16];
        for (ssize_t n; (n = ::read(read, buffer, sizeof buffer)) > 0;)
            out.append(buffer, static_cast<std::size_t>(n));
        return out;
    }
};

}  // namespace

TEST(ThreadRunLoop, StartReturnsOnceTheNamedLoopRuns) {
    auto loop = ThreadRunLoop::start("qb-worker");
    ASSERT_NE(loop, nullptr);
    // The name is set before start() returns, not some time later.
    const auto names = threadNamesOfThisProcess();
    EXPECT_NE(std::find(names.begin(), names.end(), "qb-worker"), names.end());
    EXPECT_FALSE(loop->isCurrent());

    const auto [name, current] = onLoopThread(*loop, [&] {
        char buffer[32] = {};
        pthread_getname_np(pthread_self(), buffer, sizeof buffer);
        return std::make_pair(std::string(buffer), loop->isCurrent());
    });
    EXPECT_EQ(name, "qb-worker");
    EXPECT_TRUE(current);
}

TEST(ThreadRunLoop, LongNamesAreCutToFifteenBytes) {
    auto loop = ThreadRunLoop::start("quillbern-window-worker");
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->name(), "quillbern-window-worker");
    const std::string name = onLoopThread(*loop, [] {
        char buffer[32] = {};
        pthread_getname_np(pthread_self(), buffer, sizeof buffer);
        return std::string(buffer);
    });
    EXPECT_EQ(name, "quillbern-windo");
}

TEST(ThreadRunLoop, PostedTasksRunInOrderPerPostingThread) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 500;
    std::vector<std::vector<int>> seen(kThreads);  // touched only on the loop thread
    auto loop = ThreadRunLoop::start("qb-order");
    ASSERT_NE(loop, nullptr);

    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i)
                loop->post([&seen, t, i] { seen[t].push_back(i); });
        });
    }
    for (auto& poster : posters)
        poster.join();
    // Posted after every other task, so it runs last.
    onLoopThread(*loop, [] { return 0; });

    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kPerThread)) << "thread " << t;
        for (int i = 0; i < kPerThread; ++i)
            ASSERT_EQ(seen[t][i], i) << "thread " << t;
    }
}

TEST(ThreadRunLoop, TaskPostedFromTheLoopRunsAfterTheCurrentTask) {
    Recorder recorder;  // outlives the loop's thread
    auto loop = ThreadRunLoop::start("qb-self-post");
    ASSERT_NE(loop, nullptr);
    loop->post([&] {
        recorder.add("outer-begin");
        loop->post([&] { recorder.add(loop->isCurrent() ? "inner-on-loop" : "inner-elsewhere"); });
        recorder.add("outer-end");
    });
    EXPECT_EQ(recorder.waitFor(3), (std::vector<std::string>{"outer-begin", "outer-end", "inner-on-loop"}));
}

TEST(ThreadRunLoop, TimersFireInTimeOrderAndCancelledOnesNever) {
    Recorder recorder;  // outlives the loop's thread
    auto loop = ThreadRunLoop::start("qb-timers");
    ASSERT_NE(loop, nullptr);
    // The loop now sleeps until this far timer; new timers must wake it.
    Timer far = loop->after(30, [&] { recorder.add("far"); });
    onLoopThread(*loop, [] { return 0; });
    Timer late = loop->after(0.15, [&] { recorder.add("late"); });
    Timer early = loop->after(0.02, [&] { recorder.add("early"); });
    Timer cancelled = loop->after(0.03, [&] { recorder.add("cancelled"); });
    cancelled.cancel();
    {
        Timer dropped = loop->after(0.04, [&] { recorder.add("dropped"); });
    }
    loop->after(0.05, [&] { recorder.add("detached"); }).detach();

    EXPECT_EQ(recorder.waitFor(3), (std::vector<std::string>{"early", "detached", "late"}));
    EXPECT_FALSE(early.isPending());
    EXPECT_TRUE(far.isPending());
}

TEST(ThreadRunLoop, RepeatingTimerStopsWhenItCancelsItself) {
    Recorder recorder;  // outlives the loop's thread
    auto loop = ThreadRunLoop::start("qb-repeat");
    ASSERT_NE(loop, nullptr);
    int fires = 0;  // loop thread only
    Timer tick;
    std::promise<void> scheduled;
    auto ready = scheduled.get_future().share();
    tick = loop->every(0.005, [&, ready] {
        ready.wait();  // the handle is assigned before the first fire touches it
        recorder.add("tick");
        if (++fires == 3) tick.cancel();
    });
    scheduled.set_value();
    recorder.waitFor(3);

    // A later timer fires only after any fourth tick would have.
    Timer sentinel = loop->after(0.05, [&] { recorder.add("sentinel"); });
    EXPECT_EQ(recorder.waitFor(4), (std::vector<std::string>{"tick", "tick", "tick", "sentinel"}));
}

TEST(ThreadRunLoop, ReadableSourceRunsUntilItsSubscriptionEnds) {
    Pipe watched;
    Pipe sentinel;
    ASSERT_GE(watched.read, 0);
    ASSERT_GE(sentinel.read, 0);
    Recorder recorder;
    auto loop = ThreadRunLoop::start("qb-readable");
    ASSERT_NE(loop, nullptr);

    Subscription source = loop->addReadable(watched.read, [&] {
        const std::string data = watched.drain();
        recorder.add((loop->isCurrent() ? "on-loop:" : "elsewhere:") + data);
    });
    watched.send('a');
    EXPECT_EQ(recorder.waitFor(1), (std::vector<std::string>{"on-loop:a"}));

    // Registered later, so in any poll round that sees both pipes it is called second.
    Subscription later = loop->addReadable(sentinel.read, [&] { recorder.add("sentinel:" + sentinel.drain()); });
    source.reset();
    watched.send('b');
    sentinel.send('s');
    EXPECT_EQ(recorder.waitFor(2), (std::vector<std::string>{"on-loop:a", "sentinel:s"}));
    EXPECT_EQ(watched.drain(), "b");
    later.reset();
}

TEST(ThreadRunLoop, ASourceThatHangsUpOrIsClosedIsDroppedAndItsOwnerTold) {
    Pipe hangsUp;
    Pipe closed;
    Recorder recorder;
    auto loop = ThreadRunLoop::start("qb-hang-up");
    ASSERT_NE(loop, nullptr);

    // What arrived before the hang-up is still read; then the owner is told, once.
    hangsUp.send('a');
    ::close(std::exchange(hangsUp.write, -1));
    Subscription first = loop->addReadable(
        hangsUp.read, [&] { recorder.add("read:" + hangsUp.drain()); }, [&] { recorder.add("hung up"); });
    EXPECT_EQ(recorder.waitFor(2), (std::vector<std::string>{"read:a", "hung up"}));

    // A descriptor closed under the loop is never read; the loop goes back to waiting.
    Subscription second = loop->addReadable(
        closed.read, [&] { recorder.add("read closed"); }, [&] { recorder.add("closed"); });
    ::close(std::exchange(closed.read, -1));
    // A poll already under way does not see the close: a posted task wakes it.
    loop->post([&] { recorder.add("woken"); });
    std::vector<std::string> seen = recorder.waitFor(4);
    ASSERT_EQ(seen.size(), 4u);
    std::sort(seen.begin() + 2, seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"read:a", "hung up", "closed", "woken"}));
    loop->post([&] { recorder.add("idle"); });
    EXPECT_EQ(recorder.waitFor(5).back(), "idle");
}

TEST(ThreadRunLoop, StopJoinsAndDropsTasksNotYetRun) {
    std::promise<void> gate;
    auto gateOpened = gate.get_future();
    std::promise<void> started;
    auto startedFuture = started.get_future();
    std::promise<void> release;
    auto released = release.get_future();
    std::atomic<bool> finished{false};
    std::atomic<int> droppedRan{0};
    auto probe = std::make_shared<int>(0);
    const std::weak_ptr<int> probeWatch = probe;
    auto loop = ThreadRunLoop::start("qb-stop");
    ASSERT_NE(loop, nullptr);

    // Holds the loop so that the next two tasks are taken together.
    loop->post([&] { gateOpened.wait_for(kPatience); });
    loop->post([&, probe] {
        loop->stop();  // from its own task: returns at once, the loop ends after this task
        loop->post([&droppedRan, probe] { ++droppedRan; });
        started.set_value();
        if (released.wait_for(kPatience) == std::future_status::ready) finished = true;
    });
    loop->post([&droppedRan, probe] { ++droppedRan; });
    probe.reset();
    gate.set_value();
    await(startedFuture);

    release.set_value();
    loop->stop();
    EXPECT_TRUE(finished);  // stop() returned only after the running task ended
    EXPECT_EQ(droppedRan, 0);
    EXPECT_TRUE(probeWatch.expired());  // dropped tasks are released, not kept

    loop->post([&droppedRan] { ++droppedRan; });
    loop.reset();
    EXPECT_EQ(droppedRan, 0);
}
