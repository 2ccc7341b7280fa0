#include "core/platform/WorkerStop.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "core/foundation/Log.h"

namespace quillbern {

struct WorkerStop::Reached {
    std::mutex mutex;
    std::condition_variable changed;
    bool isReached = false;
};

WorkerStop::WorkerStop(WorkerLoop& worker) : reached_(std::make_shared<Reached>()) {
    // The loop outlives the task: its owner destroys it only once this ran, and a worker
    // left behind is never destroyed.
    worker.post([&worker, reached = reached_] {
        // From its own task, the loop ends once the task returns.
        worker.stop();
        {
            std::lock_guard lock(reached->mutex);
            reached->isReached = true;
        }
        reached->changed.notify_all();
    });
}

void WorkerStop::finish(std::unique_ptr<WorkerLoop> worker, Threads& threads, std::string_view name,
                        Duration limit) const {
    std::unique_lock lock(reached_->mutex);
    const bool reached =
        reached_->changed.wait_for(lock, std::chrono::duration<double>(limit), [this] { return reached_->isReached; });
    lock.unlock();
    if (reached) {
        worker.reset();
        return;
    }
    log("thread ", name, " did not stop within ", limit, " s; it is left behind");
    threads.leaveBehind(std::move(worker));
}

bool WorkerStop::isReached() const {
    const std::lock_guard lock(reached_->mutex);
    return reached_->isReached;
}

void stopWorker(std::unique_ptr<WorkerLoop> worker, Threads& threads, std::string_view name, Duration limit) {
    if (!worker) return;
    const WorkerStop stop(*worker);
    stop.finish(std::move(worker), threads, name, limit);
}

}  // namespace quillbern
