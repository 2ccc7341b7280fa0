#include "sim/SimThreads.h"

#include "sim/ManualRunLoop.h"

namespace quillbern {

std::unique_ptr<WorkerLoop> SimThreads::startWorker(std::string name, Duration readyTimeout) {
    starts_.push_back({std::move(name), readyTimeout});
    if (refusesStart_) return nullptr;
    return std::make_unique<ManualRunLoop>(clock_);
}

std::unique_ptr<SerialQueue> SimThreads::serialQueue(std::string label) {
    queueLabels_.push_back(label);
    if (refusesStart_) return nullptr;
    auto queue =
        std::make_unique<SimSerialQueue>(std::move(label), [this](SimSerialQueue* gone) { std::erase(queues_, gone); });
    queues_.push_back(queue.get());
    return queue;
}

SimSerialQueue* SimThreads::queue(std::string_view label) const {
    for (SimSerialQueue* queue : queues_) {
        if (queue->label() == label) return queue;
    }
    return nullptr;
}

}  // namespace quillbern
