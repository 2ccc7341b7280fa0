#pragma once

#include "core/platform/Threads.h"

namespace quillbern {

// Real threads: each worker is a ThreadRunLoop.
class SystemThreads final : public Threads {
public:
    std::unique_ptr<WorkerLoop> startWorker(std::string name, Duration readyTimeout) override;
};

}  // namespace quillbern
