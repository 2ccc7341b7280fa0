#include "linux/qt/QtRunLoop.h"

#include <QPointer>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cmath>
#include <utility>

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

// Shared by the Timer handle and the QTimer's slot; the QTimer itself belongs to the loop.
class QtTimerControl final : public TimerControl {
public:
    QtTimerControl(QTimer* timer, Task task, bool repeats)
        : timer_(timer), task_(std::make_shared<Task>(std::move(task))), repeats_(repeats) {}

    void cancel() override {
        if (cancelled_.exchange(true)) return;
        // The QTimer lives on the GUI thread; free it there. deleteLater is thread-safe.
        if (QTimer* timer = timer_.data()) timer->deleteLater();
    }

    bool isPending() const override { return !cancelled_ && !finished_; }

    void fire() {
        if (cancelled_) return;
        if (!repeats_) finished_ = true;
        const std::shared_ptr<Task> task = task_;
        run(*task);
        if (!repeats_ && timer_) timer_->deleteLater();
    }

private:
    QPointer<QTimer> timer_;
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
    // call, so ThreadSanitizer sees the hand-off; each queued call runs the oldest task.
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(task));
    }
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
