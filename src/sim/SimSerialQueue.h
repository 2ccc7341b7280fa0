#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "core/platform/Threads.h"

namespace quillbern {

// A serial queue whose work runs only when the test says, on the test's thread, first in
// first out as on a real queue. What the work posts to a manual loop runs when the clock
// next advances.
class SimSerialQueue final : public SerialQueue {
public:
    SimSerialQueue(std::string label, std::function<void(SimSerialQueue*)> onDestroy);
    ~SimSerialQueue() override;

    void async(CancelToken token, Work work) override;

    const std::string& label() const { return label_; }
    // Items waiting, cancelled ones included until their turn comes.
    std::size_t pendingCount() const;
    // Runs the next item that is not cancelled, skipping those that are; false when none was left.
    bool runNext();
    // Runs items until none is left, also those that running ones add.
    void runAll();

private:
    struct Item {
        CancelToken token;
        Work work;
    };
    std::string label_;
    std::function<void(SimSerialQueue*)> onDestroy_;
    mutable std::mutex mutex_;
    std::deque<Item> pending_;
};

}  // namespace quillbern
