#include "core/platform/SystemThreads.h"

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "core/foundation/Log.h"
#include "core/foundation/ThreadRunLoop.h"

namespace quillbern {

namespace {

// How long starting a queue's thread, and the work that runs when the queue goes, may take.
constexpr Duration kWaitLimit = 2.0;

class ThreadSerialQueue final : public SerialQueue {
public:
    ThreadSerialQueue(std::unique_ptr<WorkerLoop> loop, Threads& threads) : loop_(std::move(loop)), threads_(threads) {}

    ~ThreadSerialQueue() override {
        closed_->store(true);
        // Items still waiting see the flag and return at once; the one that runs may take
        // longer (a folder on a stalled network share), so the wait is bounded.
        auto finished = std::make_shared<std::promise<void>>();
        std::future<void> done = finished->get_future();
        loop_->post([finished] { finished->set_value(); });
        if (done.wait_for(std::chrono::duration<double>(kWaitLimit)) == std::future_status::ready) {
            loop_->stop();
        } else {
            log("a serial queue's work did not end within ", kWaitLimit, " s; leaving its thread behind");
            threads_.leaveBehind(std::move(loop_));
        }
    }

    void async(CancelToken token, Work work) override {
        loop_->post([closed = closed_, token = std::move(token), work = std::move(work)] {
            if (!closed->load() && !token.isCancelled()) work(token);
        });
    }

private:
    std::unique_ptr<WorkerLoop> loop_;
    Threads& threads_;
    std::shared_ptr<std::atomic<bool>> closed_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace

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

std::unique_ptr<SerialQueue> SystemThreads::serialQueue(std::string label) {
    std::unique_ptr<WorkerLoop> loop = startWorker(std::move(label), kWaitLimit);
    if (!loop) return nullptr;
    return std::make_unique<ThreadSerialQueue>(std::move(loop), *this);
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
