#include "core/platform/SystemThreads.h"

#include <pthread.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/foundation/ThreadRunLoop.h"
#include "core/platform/WorkerStop.h"

namespace quillbern {

namespace {

// How long starting a queue's thread, and the work that runs when the queue goes, may take.
constexpr Duration kWaitLimit = WorkerStop::kLimit;

class ThreadSerialQueue final : public SerialQueue {
public:
    ThreadSerialQueue(std::unique_ptr<WorkerLoop> loop, Threads& threads, std::string label)
        : loop_(std::move(loop)), threads_(threads), label_(std::move(label)) {}

    ~ThreadSerialQueue() override {
        closed_->store(true);
        // Items still waiting see the flag and return at once; the one that runs may take
        // longer (a folder on a stalled network share), so the wait is bounded.
        stopWorker(std::move(loop_), threads_, label_, kWaitLimit);
    }

    void async(CancelToken token, Work work) override {
        loop_->post([closed = closed_, token = std::move(token), work = std::move(work)] {
            if (!closed->load() && !token.isCancelled()) work(token);
        });
    }

private:
    std::unique_ptr<WorkerLoop> loop_;
    Threads& threads_;
    std::string label_;
    std::shared_ptr<std::atomic<bool>> closed_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace

std::unique_ptr<WorkerLoop> SystemThreads::startWorker(std::string name, Duration readyTimeout) {
    return ThreadRunLoop::start(std::move(name), readyTimeout);
}

void SystemThreads::leaveBehind(std::unique_ptr<WorkerLoop> worker) {
    // Nobody waits for its thread, which may still use the loop: the loop stays reachable
    // until the process ends (the list is never destroyed), so a leak checker knows it is
    // kept on purpose.
    if (auto* thread = dynamic_cast<ThreadRunLoop*>(worker.get())) thread->detach();
    static std::mutex mutex;
    static auto* const leftBehind = new std::vector<WorkerLoop*>;
    {
        std::lock_guard lock(mutex);
        leftBehind->push_back(worker.release());
    }
    hasLeftWorkersBehind_ = true;
}

std::unique_ptr<SerialQueue> SystemThreads::serialQueue(std::string label) {
    std::unique_ptr<WorkerLoop> loop = startWorker(label, kWaitLimit);
    if (!loop) return nullptr;
    return std::make_unique<ThreadSerialQueue>(std::move(loop), *this, std::move(label));
}

void SystemThreads::runInBackground(std::string name, Task work) {
    ++*runningJobs_;
    std::thread([running = runningJobs_, name = std::move(name), work = std::move(work)] {
        pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
        work();
        --*running;
    }).detach();
}

}  // namespace quillbern
