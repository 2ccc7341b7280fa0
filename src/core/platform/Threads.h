#pragma once

#include <memory>
#include <string>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Time.h"

namespace quillbern {

// Dedicated threads, each with its own run loop.
class Threads {
public:
    virtual ~Threads() = default;

    // Starts a named worker and waits, at most readyTimeout, until its loop exists.
    // nullptr when it could not be started in time. Names keep at most 15 bytes.
    virtual std::unique_ptr<WorkerLoop> startWorker(std::string name, Duration readyTimeout) = 0;
    // Takes a worker that would not stop in time and may still run: it is never joined,
    // and since it may still use any backend, none may be destroyed before the process ends.
    virtual void leaveBehind(std::unique_ptr<WorkerLoop> worker) = 0;
};

}  // namespace quillbern
