#include "core/foundation/TimerQueue.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillbern {

TimerTimes TimerTimes::once(Duration delay) {
    return {toTicks(delay), 0};
}

TimerTimes TimerTimes::every(Duration interval, std::optional<Duration> firstDelay) {
    const Ticks step = std::max<Ticks>(1, toTicks(interval));
    return {firstDelay ? toTicks(*firstDelay) : step, step};
}

Ticks toTicks(Duration seconds) {
    return static_cast<Ticks>(std::llround(std::max(0.0, seconds) * 1e6));
}

Duration toSeconds(Ticks ticks) {
    return static_cast<double>(ticks) / 1e6;
}

ScheduledTask::ScheduledTask(Task task, Ticks due, Ticks interval, std::uint64_t sequence)
    : task_(std::make_shared<Task>(std::move(task))), due_(due), interval_(interval), sequence_(sequence) {}

void ScheduledTask::cancel() {
    cancelled_ = true;
    // Released now, not when it would have been due; a run in progress holds its own copy.
    std::shared_ptr<Task> released;
    std::lock_guard lock(taskMutex_);
    released.swap(task_);
}

bool ScheduledTask::isPending() const {
    return !cancelled_ && !finished_;
}

void ScheduledTask::run() {
    if (!isRepeating()) finished_ = true;
    std::shared_ptr<Task> task;
    {
        std::lock_guard lock(taskMutex_);
        task = task_;
    }
    if (!task) return;
    (*task)();
    if (!isRepeating()) {
        // What a finished one-shot captured need not live as long as its handle.
        std::lock_guard lock(taskMutex_);
        task_.reset();
    }
    // `task` (the last copy, for a one-shot) is released here, outside the lock.
}

void ScheduledTask::advance(Ticks notBefore, std::uint64_t sequence) {
    due_ = std::max(due_ + interval_, notBefore);
    sequence_ = sequence;
}

std::shared_ptr<ScheduledTask> TimerQueue::schedule(Task task, Ticks due, Ticks interval, std::uint64_t sequence) {
    auto entry = std::make_shared<ScheduledTask>(std::move(task), due, interval, sequence);
    heap_.push(entry);
    return entry;
}

std::shared_ptr<ScheduledTask> TimerQueue::peek() {
    while (!heap_.empty() && heap_.top()->isCancelled())
        heap_.pop();
    return heap_.empty() ? nullptr : heap_.top();
}

void TimerQueue::pop() {
    heap_.pop();
}

void TimerQueue::reinsert(std::shared_ptr<ScheduledTask> task) {
    heap_.push(std::move(task));
}

void TimerQueue::clear() {
    heap_ = {};
}

bool TimerQueue::empty() {
    return peek() == nullptr;
}

bool TimerQueue::Later::operator()(const std::shared_ptr<ScheduledTask>& a,
                                   const std::shared_ptr<ScheduledTask>& b) const {
    if (a->due() != b->due()) return a->due() > b->due();
    return a->sequence() > b->sequence();
}

}  // namespace quillbern
