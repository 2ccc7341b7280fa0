#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/TimerQueue.h"

namespace quillbern {

class ManualRunLoop;

// Virtual time shared by the clocks and every manual run loop of a simulation. Time moves
// only in advance(), which runs every loop's due work in time order, FIFO at equal times,
// including work that other work schedules on the way.
class SimClock final : public Clock {
public:
    SimClock() = default;
    SimClock(const SimClock&) = delete;
    SimClock& operator=(const SimClock&) = delete;

    WallTime wallNow() const override;
    MediaTime mediaNow() const override;
    void setWallEpoch(WallTime epoch) { epoch_ = epoch.sinceEpoch; }
    // The system's date is set, say back an hour: only the wall clock moves.
    void stepWallClock(Duration by) { epoch_ += by; }

    Ticks now() const { return now_; }
    // Runs what is due now, then moves time forward by `seconds`, firing due timers.
    void advance(Duration seconds);
    void runUntilIdle() { advance(0); }

private:
    friend class ManualRunLoop;
    void attach(ManualRunLoop* loop);
    void detach(ManualRunLoop* loop);
    std::uint64_t nextSequence() { return sequence_++; }
    ManualRunLoop* running() const { return running_; }
    // The thread that advances time; the simulation's loops run only there.
    bool isDrivingThread() const { return driver_.load() == std::this_thread::get_id(); }

    std::atomic<Ticks> now_{0};
    double epoch_ = 1'800'000'000;  // a fixed date in 2027, so dated keys are predictable
    std::atomic<std::uint64_t> sequence_{0};
    std::vector<ManualRunLoop*> loops_;
    ManualRunLoop* running_ = nullptr;
    std::atomic<std::thread::id> driver_{std::this_thread::get_id()};
};

}  // namespace quillbern
