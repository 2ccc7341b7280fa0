#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Subscription.h"
#include "core/foundation/Time.h"

namespace quillbern {

using Task = std::function<void()>;

// What a run loop keeps of one scheduled timer; shared with the Timer handle.
class TimerControl {
public:
    virtual ~TimerControl() = default;
    virtual void cancel() = 0;           // any thread
    virtual bool isPending() const = 0;  // will it fire again?
};

// Handle of a one-shot or repeating timer. Destroying it cancels the timer unless it
// was detached; a timer's task stays alive while it runs, even if it cancels itself.
class Timer {
public:
    Timer() = default;
    explicit Timer(std::shared_ptr<TimerControl> control);
    Timer(Timer&& other) noexcept;
    Timer& operator=(Timer&& other) noexcept;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    void cancel();
    bool isPending() const;
    // Lets the timer run to its end without this handle.
    void detach();

private:
    std::shared_ptr<TimerControl> control_;
};

// One thread's loop: posted tasks run in the order posted; timers fire in time order.
class RunLoop {
public:
    virtual ~RunLoop() = default;

    virtual void post(Task task) = 0;  // any thread
    [[nodiscard]] virtual Timer after(Duration delay, Task task) = 0;
    // Fires every interval; the first fire comes after firstDelay, one interval by default.
    [[nodiscard]] virtual Timer every(Duration interval, Task task, std::optional<Duration> firstDelay = {}) = 0;
    virtual bool isCurrent() const = 0;
};

// Debug builds stop, with the caller's place, when the caller does not run on `loop`. An
// object that lives on one loop checks its entry points with it, so a call from another
// thread fails in tests instead of racing. Release builds drop the check. The caller's
// place comes from the compilers' builtins: Clang 14's library has no std::source_location.
#ifdef NDEBUG
inline void expectOnLoop(const RunLoop&, const char* = __builtin_FUNCTION(), const char* = __builtin_FILE(),
                         int = __builtin_LINE()) {}
#else
void expectOnLoop(const RunLoop& loop, const char* function = __builtin_FUNCTION(), const char* file = __builtin_FILE(),
                  int line = __builtin_LINE());
#endif

// For an object that learns its loop later (the first loop a caller gives it): nothing is
// checked until it has one.
inline void expectOnLoop(const RunLoop* loop, const char* function = __builtin_FUNCTION(),
                         const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (loop) expectOnLoop(*loop, function, file, line);
}

// A dedicated thread's loop, which also watches file descriptors (event connections).
class WorkerLoop : public RunLoop {
public:
    // onReadable runs on the loop whenever fd has data; the subscription removes the source
    // and must not outlive the loop. When fd hangs up, fails or is closed, the loop drops
    // the source, runs onReadable once more for what arrived before, then onClosed.
    [[nodiscard]] virtual Subscription addReadable(int fd, Task onReadable, Task onClosed = {}) = 0;
    // Joins the thread; tasks not yet run, and tasks posted later, are dropped.
    virtual void stop() = 0;
};

// Re-posts a callback that may arrive on any thread to `loop`, where it runs only while
// the owner behind `token` is alive.
template <class Fn>
auto onLoop(RunLoop& loop, LifetimeToken token, Fn fn) {
    return [&loop, token = std::move(token), fn = std::move(fn)](auto... args) {
        loop.post([token, fn, args...] {
            if (token.isAlive()) fn(args...);
        });
    };
}

}  // namespace quillbern
