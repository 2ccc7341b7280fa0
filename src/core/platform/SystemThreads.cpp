#include "core/platform/SystemThreads.h"

#include <mutex>
#include <vector>

#include "core/foundation/ThreadRunLoop.h"

namespace quillbern {

std::unique_ptr<WorkerLoop> SystemThreads::startWorker(std::string name, Duration readyTimeout) {
    return ThreadRunLoop::start(std::move(name), readyTimeout);
}

void SystemThreads::leaveBehind(std::unique_ptr<WorkerLoop> worker) {
    // Destroying the loop would join its thread. It stays reachable until the process ends
    // (the list is never destroyed), so a leak checker knows it is kept on purpose.
    static std::mutex mutex;
    static auto* const leftBehind = new std::vector<WorkerLoop*>;
    {
        std::lock_guard lock(mutex);
        leftBehind->push_back(worker.release());
    }
    hasLeftWorkersBehind_ = true;
}

}  // namespace quillbern
