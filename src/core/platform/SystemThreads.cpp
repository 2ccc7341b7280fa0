#include "core/platform/SystemThreads.h"

#include "core/foundation/ThreadRunLoop.h"

namespace quillbern {

std::unique_ptr<WorkerLoop> SystemThreads::startWorker(std::string name, Duration readyTimeout) {
    return ThreadRunLoop::start(std::move(name), readyTimeout);
}

void SystemThreads::leaveBehind(std::unique_ptr<WorkerLoop> worker) {
    // Destroying the loop would join its thread.
    [[maybe_unused]] WorkerLoop* running = worker.release();
    hasLeftWorkersBehind_ = true;
}

}  // namespace quillbern
