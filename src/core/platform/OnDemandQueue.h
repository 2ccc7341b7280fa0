#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/foundation/CancelToken.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/SerialQueue.h"
#include "core/foundation/Time.h"
#include "core/platform/Threads.h"

namespace quillbern {

// A serial queue for work that comes now and then (a popover's folder listing and
// thumbnails, the file palette's reads): its thread starts with the first item and ends
// once the queue has been idle for a spell, so between uses it keeps no thread, stack or
// allocation cache. Main thread.
class OnDemandQueue {
public:
    // Shorter than the quiet spell after which the shell gives freed memory back, so that
    // what the thread's end frees goes back with the rest.
    static constexpr Duration kIdleSpell = 5;

    // `failure` goes to the log each time the thread cannot be started.
    OnDemandQueue(Threads& threads, RunLoop& mainLoop, std::string label, std::string failure);
    OnDemandQueue(const OnDemandQueue&) = delete;
    OnDemandQueue& operator=(const OnDemandQueue&) = delete;

    // As SerialQueue::async; false, with nothing to run, when the thread could not start.
    [[nodiscard]] bool async(CancelToken token, SerialQueue::Work work);
    // Whether the queue holds a thread now.
    bool isStarted() const { return queue_ != nullptr; }

    // Called on the main loop once the idle queue's thread has ended, for what its work holds
    // between uses.
    std::function<void()> onLetGo;

private:
    void itemEnded();

    Threads& threads_;
    RunLoop& mainLoop_;
    const std::string label_;
    const std::string failure_;
    std::unique_ptr<SerialQueue> queue_;
    // Items handed to the queue whose end has not come back to the main loop.
    int unfinished_ = 0;
    Timer idle_;
    // Destroyed first, so an item's end that arrives afterwards finds no queue.
    Lifetime lifetime_;
};

}  // namespace quillbern
