#include "sim/ManualRunLoop.h"

namespace quillbern {

ManualRunLoop::ManualRunLoop(SimClock& clock) : clock_(clock) {
    clock_.attach(this);
}

ManualRunLoop::~ManualRunLoop() {
    clock_.detach(this);
}

void ManualRunLoop::post(Task task) {
    std::lock_guard lock(mutex_);
    if (stopped_) return;
    queue_.schedule(std::move(task), clock_.now(), 0, clock_.nextSequence());
}

Timer ManualRunLoop::after(Duration delay, Task task) {
    return schedule(std::move(task), TimerTimes::once(delay));
}

Timer ManualRunLoop::every(Duration interval, Task task, std::optional<Duration> firstDelay) {
    return schedule(std::move(task), TimerTimes::every(interval, firstDelay));
}

Timer ManualRunLoop::schedule(Task task, TimerTimes times) {
    std::lock_guard lock(mutex_);
    if (stopped_) return {};
    return Timer(
        queue_.schedule(std::move(task), clock_.now() + times.firstDelay, times.interval, clock_.nextSequence()));
}

bool ManualRunLoop::isCurrent() const {
    // A real thread beside the simulation (a worker under test) is never on its loops.
    if (!clock_.isDrivingThread()) return false;
    const ManualRunLoop* running = clock_.running();
    return running == this || (running == nullptr && isMain_);
}

Subscription ManualRunLoop::addReadable(int fd, Task onReadable, Task /*onClosed*/) {
    std::lock_guard lock(mutex_);
    const std::uint64_t id = nextSourceId_++;
    sources_.emplace(id, Source{fd, std::make_shared<Task>(std::move(onReadable))});
    return Subscription([this, id] {
        std::lock_guard lock(mutex_);
        sources_.erase(id);
    });
}

void ManualRunLoop::signalReadable(int fd) {
    std::lock_guard lock(mutex_);
    for (const auto& [id, source] : sources_) {
        if (source.fd != fd) continue;
        queue_.schedule(
            [this, id = id, handler = source.onReadable] {
                bool stillWatched;
                {
                    std::lock_guard lock(mutex_);
                    stillWatched = sources_.contains(id);
                }
                if (stillWatched) (*handler)();
            },
            clock_.now(), 0, clock_.nextSequence());
    }
}

bool ManualRunLoop::isStopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
}

std::size_t ManualRunLoop::sourceCount() const {
    std::lock_guard lock(mutex_);
    return sources_.size();
}

void ManualRunLoop::stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    queue_.clear();
    sources_.clear();
}

std::shared_ptr<ScheduledTask> ManualRunLoop::nextDue() {
    std::lock_guard lock(mutex_);
    return queue_.peek();
}

void ManualRunLoop::runEntry(const std::shared_ptr<ScheduledTask>& entry) {
    {
        std::lock_guard lock(mutex_);
        if (queue_.peek() != entry) return;
        queue_.pop();
    }
    entry->run();
    if (entry->isRepeating() && !entry->isCancelled()) {
        std::lock_guard lock(mutex_);
        if (stopped_) return;
        entry->advance(0, clock_.nextSequence());
        queue_.reinsert(entry);
    }
}

}  // namespace quillbern
