#include "core/foundation/ThreadRunLoop.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {
constexpr std::size_t kMaxThreadNameBytes = 15;
}

ThreadRunLoop::ThreadRunLoop(std::string name) : name_(std::move(name)) {}

std::unique_ptr<ThreadRunLoop> ThreadRunLoop::start(std::string name, Duration readyTimeout) {
    std::unique_ptr<ThreadRunLoop> loop(new ThreadRunLoop(std::move(name)));
    if (!loop->openWakePipe()) {
        log("cannot create the wake-up pipe of thread ", loop->name_, ": errno ", errno);
        return nullptr;
    }
    try {
        loop->thread_ = std::thread([raw = loop.get()] { raw->run(); });
    } catch (const std::system_error& error) {
        log("cannot start thread ", loop->name_, ": ", error.what());
        return nullptr;
    }
    std::unique_lock lock(loop->mutex_);
    const bool ready =
        loop->ready_.wait_for(lock, std::chrono::duration<double>(readyTimeout), [&] { return loop->isReady_; });
    lock.unlock();
    if (!ready) {
        log("thread ", loop->name_, " did not start within ", readyTimeout, " s");
        loop->stop();
        return nullptr;
    }
    return loop;
}

ThreadRunLoop::~ThreadRunLoop() {
    stop();
    if (wakeRead_ >= 0) ::close(wakeRead_);
    if (wakeWrite_ >= 0) ::close(wakeWrite_);
}

bool ThreadRunLoop::openWakePipe() {
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) return false;
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    return true;
}

void ThreadRunLoop::post(Task task) {
    bool wasEmpty;
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        wasEmpty = posted_.empty();
        posted_.push_back(std::move(task));
    }
    // The loop takes every posted task at once and looks for more before it waits,
    // so only the first post into an empty queue needs to wake it.
    if (wasEmpty) wake();
}

Timer ThreadRunLoop::after(Duration delay, Task task) {
    return schedule(std::move(task), TimerTimes::once(delay));
}

Timer ThreadRunLoop::every(Duration interval, Task task, std::optional<Duration> firstDelay) {
    return schedule(std::move(task), TimerTimes::every(interval, firstDelay));
}

Timer ThreadRunLoop::schedule(Task task, TimerTimes times) {
    std::shared_ptr<ScheduledTask> entry;
    {
        std::lock_guard lock(mutex_);
        entry = timers_.schedule(std::move(task), now() + times.firstDelay, times.interval, nextSequence_++);
    }
    wake();
    return Timer(entry);
}

bool ThreadRunLoop::isCurrent() const {
    return std::this_thread::get_id() == threadId_.load();
}

Subscription ThreadRunLoop::addReadable(int fd, Task onReadable, Task onClosed) {
    std::uint64_t id;
    {
        std::lock_guard lock(mutex_);
        id = nextSourceId_++;
        sources_.emplace(
            id, Source{fd, std::make_shared<Task>(std::move(onReadable)), std::make_shared<Task>(std::move(onClosed))});
    }
    wake();
    return Subscription([this, id] {
        {
            std::lock_guard lock(mutex_);
            sources_.erase(id);
        }
        wake();
    });
}

void ThreadRunLoop::stop() {
    stopping_ = true;
    wake();
    // From its own task the loop ends once that task returns; the owner joins later.
    if (isCurrent()) return;
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    posted_.clear();
    timers_.clear();
    sources_.clear();
}

void ThreadRunLoop::detach() {
    if (thread_.joinable()) thread_.detach();
}

void ThreadRunLoop::wake() {
    const char byte = 1;
    // A full pipe already guarantees a wake-up, so EAGAIN is fine.
    [[maybe_unused]] const auto written = ::write(wakeWrite_, &byte, 1);
}

void ThreadRunLoop::drainWakePipe() {
    char buffer[64];
    while (::read(wakeRead_, buffer, sizeof buffer) > 0) {
    }
}

Ticks ThreadRunLoop::now() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void ThreadRunLoop::run() {
    pthread_setname_np(pthread_self(), name_.substr(0, kMaxThreadNameBytes).c_str());
    threadId_ = std::this_thread::get_id();
    {
        std::lock_guard lock(mutex_);
        isReady_ = true;
    }
    ready_.notify_all();

    while (!stopping_) {
        runPostedTasks();
        runDueTimers();
        if (!stopping_) waitForWork();
    }
}

void ThreadRunLoop::runPostedTasks() {
    std::deque<Task> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(posted_);
    }
    for (auto& task : batch) {
        if (stopping_) return;
        task();
    }
}

void ThreadRunLoop::runDueTimers() {
    const Ticks current = now();
    while (!stopping_) {
        std::shared_ptr<ScheduledTask> entry;
        {
            std::lock_guard lock(mutex_);
            entry = timers_.peek();
            if (!entry || entry->due() > current) return;
            timers_.pop();
        }
        entry->run();
        if (entry->isRepeating() && !entry->isCancelled()) {
            std::lock_guard lock(mutex_);
            // A late loop skips missed fires instead of bursting to catch up.
            entry->advance(now(), nextSequence_++);
            timers_.reinsert(entry);
        }
    }
}

void ThreadRunLoop::waitForWork() {
    std::vector<pollfd> fds;
    std::vector<std::uint64_t> sourceIds;
    int timeoutMs = -1;
    {
        std::lock_guard lock(mutex_);
        if (!posted_.empty()) return;
        fds.push_back({wakeRead_, POLLIN, 0});
        for (const auto& [id, source] : sources_) {
            fds.push_back({source.fd, POLLIN, 0});
            sourceIds.push_back(id);
        }
        if (auto next = timers_.peek()) {
            const Ticks wait = std::max<Ticks>(0, next->due() - now());
            // A timer weeks away must not overflow poll's timeout; waking early is harmless.
            timeoutMs = static_cast<int>(std::min<Ticks>((wait + 999) / 1000, 3'600'000));
        }
    }
    const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
    if (ready <= 0) return;
    if (fds[0].revents != 0) drainWakePipe();
    for (std::size_t i = 1; i < fds.size() && !stopping_; ++i) {
        const short revents = fds[i].revents;
        if (revents == 0) continue;
        // A descriptor that hung up or was closed would wake every poll: it is dropped.
        const bool closed = revents & (POLLHUP | POLLERR | POLLNVAL);
        Source source;
        {
            // A source removed by an earlier handler of this round is not called.
            std::lock_guard lock(mutex_);
            const auto found = sources_.find(sourceIds[i - 1]);
            if (found == sources_.end()) continue;
            source = found->second;
            if (closed) sources_.erase(found);
        }
        if (!(revents & POLLNVAL)) (*source.onReadable)();
        if (closed && *source.onClosed) (*source.onClosed)();
    }
}

}  // namespace quillbern
