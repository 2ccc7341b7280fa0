#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/foundation/CancelToken.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/SerialQueue.h"
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
    // A serial queue on a thread named `label` (at most 15 bytes); nullptr when its thread
    // could not be started.
    virtual std::unique_ptr<SerialQueue> serialQueue(std::string label) = 0;
    // Any thread. Runs the work once on a thread of its own named `name` (at most 15
    // bytes), which ends with it. Nothing waits for it, so work that may never end (a
    // read from a stalled network mount) holds up only itself; the work hands its result
    // to whoever waits for it. It may outlast whoever started it: it owns what it uses,
    // but for the backends, which stay in place while it runs.
    virtual void runInBackground(std::string name, Task work) = 0;
};

}  // namespace quillbern
