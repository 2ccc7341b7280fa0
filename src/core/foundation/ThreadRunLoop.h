#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/foundation/TimerQueue.h"

namespace quillbern {

// A dedicated, named thread running its own loop of posted tasks, timers and
// file-descriptor sources.
class ThreadRunLoop final : public WorkerLoop {
public:
    // Starts the thread and waits, at most readyTimeout, until its loop exists.
    // Returns nullptr when the thread could not be started in time. Linux keeps at most
    // 15 bytes of a thread's name.
    static std::unique_ptr<ThreadRunLoop> start(std::string name, Duration readyTimeout = 2.0);
    // Stops and joins; never destroy the loop from one of its own tasks.
    ~ThreadRunLoop() override;

    void post(Task task) override;
    Timer after(Duration delay, Task task) override;
    Timer every(Duration interval, Task task, std::optional<Duration> firstDelay = {}) override;
    bool isCurrent() const override;
    Subscription addReadable(int fd, Task onReadable, Task onClosed = {}) override;
    void stop() override;
    // Lets the thread end on its own, never joined: the loop must then never be destroyed,
    // since the thread may still use it.
    void detach();

    const std::string& name() const { return name_; }

private:
    struct Source {
        int fd = -1;
        std::shared_ptr<Task> onReadable;
        std::shared_ptr<Task> onClosed;
    };

    explicit ThreadRunLoop(std::string name);
    bool openWakePipe();
    void run();
    void wake();
    void drainWakePipe();
    Ticks now() const;
    Timer schedule(Task task, TimerTimes times);
    void runPostedTasks();
    void runDueTimers();
    void waitForWork();

    std::string name_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread thread_;
    std::atomic<std::thread::id> threadId_{};
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    std::condition_variable ready_;
    bool isReady_ = false;
    std::deque<Task> posted_;
    TimerQueue timers_;
    std::uint64_t nextSequence_ = 0;
    std::map<std::uint64_t, Source> sources_;
    std::uint64_t nextSourceId_ = 0;
};

}  // namespace quillbern
