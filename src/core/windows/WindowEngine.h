#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/RunningApps.h"
#include "core/platform/SessionEvents.h"
#include "core/windows/AXWorker.h"

namespace quillbern {

// The main thread's face of window tracking: keeps the latest snapshot and the trust in
// window access for views to read, feeds the worker the running applications, turns
// session and application events into reconciliation requests, and follows the trust:
// told of its changes where the system tells, polling it elsewhere. Main thread only.
class WindowEngine {
public:
    static constexpr Duration kTrustPollInterval = 1.0;

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        AXWorker::Ports worker;
        RunningApps& apps;
        SessionEvents& session;
        Screens& screens;
        RunLoop& mainLoop;
    };

    explicit WindowEngine(Ports ports);
    ~WindowEngine();
    WindowEngine(const WindowEngine&) = delete;
    WindowEngine& operator=(const WindowEngine&) = delete;

    // Once, after the wiring callbacks are set.
    void start();
    // Stops polling and listening and shuts the worker down. The worker's thread is
    // waited for, bounded, when the engine ends.
    void stop();

    const WindowSnapshot& snapshot() const { return snapshot_; }
    bool isTrusted() const { return isTrusted_; }
    // Between start() and stop(); others post window actions to it directly.
    AXWorker* worker() const { return worker_.get(); }

    // Where the worker's snapshots land: stored and announced only when they differ from
    // the one held.
    void apply(const WindowSnapshot& snapshot);

    // Told of every change, for any number of observers.
    Signal<> snapshotChanged;
    Signal<> trustChanged;

    // Wiring callbacks, each set once by the application.
    std::function<void(const WindowSnapshot&)> onSnapshotChange;
    std::function<void()> onTrustChange;
    // Hooks for a raise or placement another part requested; the engine never calls them.
    std::function<void(const WindowInfo&)> onRaiseRequest;
    std::function<void(const WindowInfo&, const RectTL&)> onPlaceRequest;

private:
    void subscribe();
    void pushApps();
    void requestReconcile();
    void pollTrust();
    void activate(Pid pid);

    Ports ports_;
    WindowSnapshot snapshot_;
    bool isTrusted_;
    std::unique_ptr<AXWorker> worker_;
    // Shut down, kept until the engine ends so stop() never blocks on its thread.
    std::unique_ptr<AXWorker> stoppedWorker_;
    // What the worker was last told, so a change that leaves it alone costs it no pass.
    std::optional<TrackedApps> pushedApps_;
    std::vector<Subscription> tokens_;
    std::optional<Timer> permissionTimer_;
    Subscription trustWatch_;
    Lifetime lifetime_;
};

}  // namespace quillbern
