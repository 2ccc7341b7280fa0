#include "linux/qt/QtRunLoop.h"

#include <QThread>
#include <QTimer>
#include <atomic>
#include <cmath>
#include <mutex>
#include <utility>

#include "core/foundation/UncheckedAccesses.h"

namespace quillbern {

namespace {

thread_local const std::type_info* lastTask = nullptr;

void run(const Task& task) {
    lastTask = &task.target_type();
    task();
}

int milliseconds(Duration seconds) {
    return static_cast<int>(std::lround(std::max(0.0, seconds) * 1000));
}

// Shared by the Timer handle and the QTimer's slot; the QTimer itself belongs to the loop
// and to the GUI thread. A cancel may come from any thread, so the pointer to it is held
// under a lock that its destruction waits for too: a cancel never reaches a freed timer.
class QtTimerControl final : public TimerControl {
public:
    QtTimerControl(QTimer* timer, Task task, bool repeats)
        : timer_(timer), task_(std::make_shared<Task>(std::move(task))), repeats_(repeats) {}

    void cancel() override {
        if (cancelled_.exchange(true)) return;
        release();
    }

    bool isPending() const override { return !cancelled_ && !finished_; }

    // GUI thread.
    void fire() {
        if (cancelled_) return;
        if (!repeats_) finished_ = true;
        const std::shared_ptr<Task> task = task_;
        run(*task);
        if (!repeats_) release();
    }

    // GUI thread, while the timer is destroyed (with the loop, say).
    void forget() {
        std::lock_guard lock(mutex_);
        timer_ = nullptr;
    }

private:
    // deleteLater may be called from any thread while the timer exists; its event, like a
    // posted call's, is Qt's.
    void release() {
        std::lock_guard lock(mutex_);
        QTimer* timer = std::exchange(timer_, nullptr);
        if (!timer) return;
        const UncheckedAccesses qtsOwnHandOff;
        timer->deleteLater();
    }

    std::mutex mutex_;
    QTimer* timer_;
    std::shared_ptr<Task> task_;
    bool repeats_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
};

}  // namespace

QtRunLoop::QtRunLoop() = default;

QtRunLoop::~QtRunLoop() = default;

void QtRunLoop::post(Task task) {
    // The task crosses threads through our own locked queue rather than inside Qt's queued
    // call, so ThreadSanitizer sees the hand-off; each queued call runs the oldest task. The
    // call itself, which holds only the loop, is Qt's event.
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(task));
    }
    const UncheckedAccesses qtsOwnHandOff;
    QMetaObject::invokeMethod(
        &context_,
        [this] {
            Task next;
            {
                std::lock_guard lock(mutex_);
                next = std::move(posted_.front());
                posted_.pop_front();
            }
            run(next);
        },
        Qt::QueuedConnection);
}

Timer QtRunLoop::after(Duration delay, Task task) {
    return schedule(delay, std::nullopt, std::move(task));
}

Timer QtRunLoop::every(Duration interval, Task task, std::optional<Duration> firstDelay) {
    return schedule(firstDelay.value_or(interval), interval, std::move(task));
}

Timer QtRunLoop::schedule(Duration firstDelay, std::optional<Duration> interval, Task task) {
    // A QTimer is made, started and stopped on its own thread only.
    expectOnLoop(*this);
    auto* timer = new QTimer(&context_);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!interval);
    timer->setInterval(milliseconds(firstDelay));
    auto control = std::make_shared<QtTimerControl>(timer, std::move(task), interval.has_value());
    const int repeatMs = interval ? std::max(1, milliseconds(*interval)) : 0;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, control, repeatMs] {
        if (repeatMs > 0 && timer->interval() != repeatMs) timer->setInterval(repeatMs);
        control->fire();
    });
    QObject::connect(timer, &QObject::destroyed, [control] { control->forget(); });
    timer->start();
    return Timer(control);
}

const std::type_info* QtRunLoop::takeLastTask() {
    return std::exchange(lastTask, nullptr);
}

bool QtRunLoop::isCurrent() const {
    return QThread::currentThread() == context_.thread();
}

}  // namespace quillbern
