#include "sim/SimSerialQueue.h"

namespace quillbern {

SimSerialQueue::SimSerialQueue(std::string label, std::function<void(SimSerialQueue*)> onDestroy)
    : label_(std::move(label)), onDestroy_(std::move(onDestroy)) {}

SimSerialQueue::~SimSerialQueue() {
    if (onDestroy_) onDestroy_(this);
}

void SimSerialQueue::async(CancelToken token, Work work) {
    std::lock_guard lock(mutex_);
    pending_.push_back({std::move(token), std::move(work)});
}

std::size_t SimSerialQueue::pendingCount() const {
    std::lock_guard lock(mutex_);
    return pending_.size();
}

bool SimSerialQueue::runNext() {
    while (true) {
        Item item;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) return false;
            item = std::move(pending_.front());
            pending_.pop_front();
        }
        if (item.token.isCancelled()) continue;
        item.work(item.token);
        return true;
    }
}

void SimSerialQueue::runAll() {
    while (runNext()) {
    }
}

}  // namespace quillbern
