#pragma once

#include <memory>
#include <string_view>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Time.h"
#include "core/platform/Threads.h"

namespace quillbern {

// The end of a worker, which its owner waits for only so long. The loop is asked to stop
// behind the tasks given it before, and the owner waits for that at most a limit: a worker
// still stuck in a task then (another application's call, a stalled mount, /proc) is left
// behind (`Threads::leaveBehind`) with a line in the log, and the quit goes on. What its tasks
// still use they must own, shared with whoever made them, and the backends they reach their
// owner keeps.
class WorkerStop {
public:
    // The longest a thread waits for a worker to end.
    static constexpr Duration kLimit = 2.0;

    // Posts the stop; nothing given to the worker afterwards runs.
    explicit WorkerStop(WorkerLoop& worker);
    // Waits, at most `limit`, for the worker to reach the stop; then destroys it, which
    // joins its thread at once, or else leaves it behind. `name` names it in the log.
    void finish(std::unique_ptr<WorkerLoop> worker, Threads& threads, std::string_view name,
                Duration limit = kLimit) const;
    // Whether the worker reached the stop, so that destroying it joins its thread at once.
    bool isReached() const;

private:
    struct Reached;
    std::shared_ptr<Reached> reached_;
};

// Asks the worker to stop and waits for it as above.
void stopWorker(std::unique_ptr<WorkerLoop> worker, Threads& threads, std::string_view name,
                Duration limit = WorkerStop::kLimit);

}  // namespace quillbern
