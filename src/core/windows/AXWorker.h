#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "core/foundation/Clock.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/platform/InputState.h"
#include "core/platform/Permissions.h"
#include "core/platform/Screens.h"
#include "core/platform/Threads.h"
#include "core/platform/WindowAccess.h"
#include "core/platform/WindowList.h"
#include "core/platform/WorkerStop.h"
#include "core/windows/WindowAction.h"
#include "core/windows/WindowReconciler.h"
#include "core/windows/WindowSnapshot.h"

namespace quillbern {

// Owns the thread on which all traffic with other applications' windows runs, so a slow
// or hung application never stalls the user interface. The public operations are for the
// main thread; after start() they only post work to the worker and return.
class AXWorker {
public:
    static constexpr const char* kThreadName = "quillbern.ax";
    static constexpr Duration kDebounce = 0.12;
    static constexpr Duration kPeriodicInterval = 2.5;
    static constexpr Duration kOnScreenPollInterval = 1.0;
    // The longest the main thread waits for the worker, at start and at the end.
    static constexpr Duration kWaitLimit = WorkerStop::kLimit;

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        Threads& threads;
        WindowAccess& access;
        const WindowList& windowList;
        const Screens& screens;
        Permissions& permissions;
        const InputState& input;
        const Clock& clock;
    };
    // Called on the worker thread with every reconciled snapshot.
    using Publish = std::function<void(const WindowSnapshot&)>;
    // Called on the worker thread for an application that would not come forward.
    using ActivateApp = std::function<void(Pid)>;

    AXWorker(Ports ports, Publish publish, ActivateApp activateApp);
    // Shuts down if needed and waits, bounded, for the thread to end; one that does not end
    // in time is left behind to the threads' owner.
    ~AXWorker();
    AXWorker(const AXWorker&) = delete;
    AXWorker& operator=(const AXWorker&) = delete;

    // Starts the thread, blocking until its loop exists (bounded), then installs the
    // timers there. Operations before a successful start are dropped.
    void start();
    // The applications to track, process identifier to name.
    void setApps(TrackedApps apps);
    void requestReconcile();
    // Drops every watcher and installs them anew (after trust was granted).
    void rebuildWatchers();
    // Fire and forget: the worker first checks that `window` is still the window it
    // knows by that number and owner; a stale request is dropped with a log line.
    void perform(const WindowAction& action, const WindowInfo& window);
    // Stops everything on the worker: nothing is published afterwards. Not restartable.
    void shutdown();

private:
    class Core;

    void post(std::function<void(Core&)> step);

    Ports ports_;
    Publish publish_;
    ActivateApp activateApp_;
    // Asked for at the shutdown, waited for at the end.
    std::optional<WorkerStop> stop_;
    std::shared_ptr<Core> core_;
    std::unique_ptr<WorkerLoop> loop_;
    bool isShutDown_ = false;
};

}  // namespace quillbern
