#pragma once

#include <atomic>

#include "core/platform/Threads.h"

namespace quillbern {

// Real threads: each worker is a ThreadRunLoop, and so is each serial queue's thread.
class SystemThreads final : public Threads {
public:
    std::unique_ptr<WorkerLoop> startWorker(std::string name, Duration readyTimeout) override;
    // The thread ends on its own, or with the process.
    void leaveBehind(std::unique_ptr<WorkerLoop> worker) override;
    std::unique_ptr<SerialQueue> serialQueue(std::string label) override;
    // The thread is detached; it counts as left behind while it runs.
    void runInBackground(std::string name, Task work) override;
    // Whether the backends must stay in place until the process ends: a worker was left
    // behind, or background work still runs.
    bool hasLeftWorkersBehind() const { return hasLeftWorkersBehind_ || *runningJobs_ > 0; }

private:
    bool hasLeftWorkersBehind_ = false;
    // Shared with the jobs, which may outlast this object.
    std::shared_ptr<std::atomic<int>> runningJobs_ = std::make_shared<std::atomic<int>>(0);
};

}  // namespace quillbern
