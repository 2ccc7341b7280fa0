#include "core/platform/OnDemandQueue.h"

#include <utility>

#include "core/foundation/Log.h"

namespace quillbern {

OnDemandQueue::OnDemandQueue(Threads& threads, RunLoop& mainLoop, std::string label, std::string failure)
    : threads_(threads), mainLoop_(mainLoop), label_(std::move(label)), failure_(std::move(failure)) {}

bool OnDemandQueue::async(CancelToken token, SerialQueue::Work work) {
    expectOnLoop(mainLoop_);
    if (!queue_) {
        queue_ = threads_.serialQueue(label_);
        if (!queue_) {
            log(failure_);
            return false;
        }
    }
    idle_.cancel();
    ++unfinished_;
    // The item's token is looked at here rather than by the queue, so that a skipped item
    // still tells its end.
    queue_->async({}, [&loop = mainLoop_, alive = lifetime_.token(), this, token = std::move(token),
                       work = std::move(work)](const CancelToken&) {
        if (!token.isCancelled()) work(token);
        loop.post([alive, this] {
            if (alive.isAlive()) itemEnded();
        });
    });
    return true;
}

void OnDemandQueue::itemEnded() {
    if (--unfinished_ > 0) return;
    // Nothing waits on the queue by now, so letting it go only joins an idle thread.
    idle_ = mainLoop_.after(kIdleSpell, [this] {
        queue_.reset();
        if (onLetGo) onLetGo();
    });
}

}  // namespace quillbern
