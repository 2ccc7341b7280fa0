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

void SimThreads::runInBackground(std::string name, Task work) {
    jobs_.push_back({std::move(name), std::move(work)});
}

std::vector<std::string> SimThreads::backgroundJobs() const {
    std::vector<std::string> names;
    for (const Job& job : jobs_)
        names.push_back(job.name);
    return names;
}

bool SimThreads::runBackgroundJob(std::size_t position) {
    if (position >= jobs_.size()) return false;
    Job job = std::move(jobs_[position]);
    jobs_.erase(jobs_.begin() + static_cast<std::ptrdiff_t>(position));
    job.work();
    return true;
}

void SimThreads::runBackgroundJobs() {
    while (runBackgroundJob()) {
    }
}

SimSerialQueue* SimThreads::queue(std::string_view label) const {
    for (SimSerialQueue* queue : queues_) {
        if (queue->label() == label) return queue;
    }
    return nullptr;
}

}  // namespace quillbern
