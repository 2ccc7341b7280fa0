#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "core/foundation/RunLoop.h"
#include "sim/SimClock.h"

namespace quillbern {

// A run loop on virtual time: nothing runs until the clock advances. Posting is safe from
// any thread; everything runs on the thread that advances the clock.
class ManualRunLoop final : public WorkerLoop {
public:
    explicit ManualRunLoop(SimClock& clock);
    ~ManualRunLoop() override;

    void post(Task task) override;
    Timer after(Duration delay, Task task) override;
    Timer every(Duration interval, Task task, std::optional<Duration> firstDelay = {}) override;
    // True while one of this loop's tasks runs; the main loop is also current between runs.
    // Never on a thread other than the one that advances the clock.
    bool isCurrent() const override;
    // No simulated descriptor hangs up: onClosed is never called.
    Subscription addReadable(int fd, Task onReadable, Task onClosed = {}) override;
    void stop() override;

    void setIsMainLoop(bool isMain) { isMain_ = isMain; }
    bool isStopped() const;
    // Simulates data arriving on a watched descriptor: its handler runs at the next advance.
    void signalReadable(int fd);
    std::size_t sourceCount() const;

private:
    friend class SimClock;
    std::shared_ptr<ScheduledTask> nextDue();
    void runEntry(const std::shared_ptr<ScheduledTask>& entry);
    Timer schedule(Task task, TimerTimes times);

    SimClock& clock_;
    mutable std::mutex mutex_;
    TimerQueue queue_;
    struct Source {
        int fd;
        std::shared_ptr<Task> onReadable;
    };
    std::map<std::uint64_t, Source> sources_;
    std::uint64_t nextSourceId_ = 0;
    bool isMain_ = false;
    bool stopped_ = false;
};

}  // namespace quillbern
