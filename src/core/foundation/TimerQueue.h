#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <queue>
#include <vector>

#include "core/foundation/RunLoop.h"

namespace quillbern {

// Time of a loop's own clock in whole microseconds, so that repeated intervals add up
// exactly (five 0.12 s ticks are 0.6 s).
using Ticks = std::int64_t;
Ticks toTicks(Duration seconds);
Duration toSeconds(Ticks ticks);

// When a timer first fires, and how far apart it fires again (0: once).
struct TimerTimes {
    Ticks firstDelay;
    Ticks interval;

    static TimerTimes once(Duration delay);
    // At least a tick apart; the first fire comes one interval in unless firstDelay says.
    static TimerTimes every(Duration interval, std::optional<Duration> firstDelay);
};

// One entry of a TimerQueue: a posted task (due now, no interval) or a timer.
class ScheduledTask final : public TimerControl {
public:
    ScheduledTask(Task task, Ticks due, Ticks interval, std::uint64_t sequence);

    void cancel() override;
    bool isPending() const override;

    Ticks due() const { return due_; }
    std::uint64_t sequence() const { return sequence_; }
    bool isRepeating() const { return interval_ > 0; }
    bool isCancelled() const { return cancelled_.load(); }

    // Runs the task; keeps it alive for the call even if the task cancels itself.
    void run();
    // Moves a repeating task to its next time, never earlier than `notBefore`.
    void advance(Ticks notBefore, std::uint64_t sequence);

private:
    // Guarded because a timer may be cancelled from another thread while its loop runs it.
    mutable std::mutex taskMutex_;
    std::shared_ptr<Task> task_;
    Ticks due_;
    Ticks interval_;
    std::uint64_t sequence_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
};

// Tasks ordered by due time, then by the order they were scheduled. Not locked:
// its owner serialises access.
class TimerQueue {
public:
    std::shared_ptr<ScheduledTask> schedule(Task task, Ticks due, Ticks interval, std::uint64_t sequence);
    // The earliest live entry, dropping cancelled ones on the way.
    std::shared_ptr<ScheduledTask> peek();
    void pop();
    // Puts a repeating entry back after it ran.
    void reinsert(std::shared_ptr<ScheduledTask> task);
    void clear();
    bool empty();

private:
    struct Later {
        bool operator()(const std::shared_ptr<ScheduledTask>& a, const std::shared_ptr<ScheduledTask>& b) const;
    };
    std::priority_queue<std::shared_ptr<ScheduledTask>, std::vector<std::shared_ptr<ScheduledTask>>, Later> heap_;
};

}  // namespace quillbern
