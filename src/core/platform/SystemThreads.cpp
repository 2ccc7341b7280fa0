#include "core/platform/SystemThreads.h"

#include "core/foundation/ThreadRunLoop.h"

namespace quillbern {

std::unique_ptr<WorkerLoop> SystemThreads::startWorker(std::string name, Duration readyTimeout) {
    return ThreadRunLoop::start(std::move(name), readyTimeout);
}

}  // namespace quillbern
