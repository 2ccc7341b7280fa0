#include "sim/SimThreads.h"

#include "sim/ManualRunLoop.h"

namespace quillbern {

std::unique_ptr<WorkerLoop> SimThreads::startWorker(std::string name, Duration readyTimeout) {
    starts_.push_back({std::move(name), readyTimeout});
    if (refusesStart_) return nullptr;
    return std::make_unique<ManualRunLoop>(clock_);
}

}  // namespace quillbern
