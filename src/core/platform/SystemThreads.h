#pragma once

#include "core/platform/Threads.h"

namespace quillbern {

// Real threads: each worker is a ThreadRunLoop, and so is each serial queue's thread.
class SystemThreads final : public Threads {
public:
    std::unique_ptr<WorkerLoop> startWorker(std::string name, Duration readyTimeout) override;
    // The thread ends on its own, or with the process.
    void leaveBehind(std::unique_ptr<WorkerLoop> worker) override;
    std::unique_ptr<SerialQueue> serialQueue(std::string label) override;
    // Whether the backends must stay in place until the process ends.
    bool hasLeftWorkersBehind() const { return hasLeftWorkersBehind_; }

private:
    bool hasLeftWorkersBehind_ = false;
};

}  // namespace quillbern
