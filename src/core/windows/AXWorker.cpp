#include "core/windows/AXWorker.h"

#include <map>
#include <optional>

#include "core/foundation/Log.h"
#include "core/foundation/TimeGrid.h"
#include "core/windows/AccessFunctions.h"
#include "core/windows/AppWatcher.h"
#include "core/windows/WindowActions.h"

namespace quillbern {

// Everything the worker keeps; touched only on the worker's loop, which debug builds check at
// every entry. Timers, observers and posted blocks hold it weakly.
class AXWorker::Core : public std::enable_shared_from_this<Core> {
public:
    Core(const Ports& ports, WorkerLoop& loop, Publish publish, ActivateApp activateApp)
        : ports_(ports),
          loop_(loop),
          publish_(std::move(publish)),
          reconciler_(ports.access, ports.windowList, ports.screens),
          actions_(ports.access, ports.clock, ports.input,
                   {[this](Duration delay, Task step) { after(delay, std::move(step)); },
                    [this] { scheduleReconcile(); }, std::move(activateApp)}) {}

    void installTimers() {
        expectOnLoop(loop_);
        ports_.access.setTimeout(ports_.access.systemWideElement(), kMessagingTimeout);
        pollOrigin_ = ports_.clock.mediaNow();
        changes_ = ports_.access.watchChanges(loop_, guarded([](Core& core) { core.windowsChanged(); }));
        everyChangeReported_ = static_cast<bool>(changes_);
        updatePolls();
    }

    void setApps(TrackedApps apps) {
        expectOnLoop(loop_);
        apps_ = std::move(apps);
        reconcileWatchers();
        scheduleReconcile();
    }

    void rebuildWatchers() {
        expectOnLoop(loop_);
        watchers_.clear();
        reconcileWatchers();
        scheduleReconcile();
    }

    // A trailing debounce: a burst of requests gives one pass after the last of them.
    void scheduleReconcile() {
        expectOnLoop(loop_);
        debounceTimer_ = loop_.after(kDebounce, guarded([](Core& core) {
                                         core.debounceTimer_.reset();
                                         core.reconcile();
                                     }));
    }

    void perform(const WindowAction& action, const WindowInfo& window) {
        expectOnLoop(loop_);
        if (isStopped_) return;
        const auto element = reconciler_.validElement(window.id, window.pid);
        if (!element) {
            log("AX revalidation failed for window ", window.id, " (", action.text(), ") — action dropped");
            return;
        }
        if (const auto* place = std::get_if<WindowAction::Place>(&action.kind()); place && place->frame.isEmpty()) {
            // A size of zero or less is no frame any window can take.
            log("window ", window.id, " cannot take the frame of ", action.text(), " — action dropped");
            return;
        }
        actions_.perform(action, *element, window.pid);
    }

    // A delayed step: it runs only while the worker lives and has not stopped.
    void after(Duration delay, Task step) {
        expectOnLoop(loop_);
        loop_
            .after(delay, guarded([step = std::move(step)](Core& core) {
                       if (!core.isStopped_) step();
                   }))
            .detach();
    }

    void shutdown() {
        expectOnLoop(loop_);
        isStopped_ = true;
        changes_.reset();
        periodicTimer_.reset();
        onScreenPollTimer_.reset();
        debounceTimer_.reset();
        watchers_.clear();
        reconciler_.forgetElements();
    }

private:
    // What reaches the core from its backends and timers, which must call on its loop.
    template <class Step>
    Task guarded(Step step) {
        return [weak = weak_from_this(), step] {
            if (auto core = weak.lock()) {
                expectOnLoop(core->loop_);
                step(*core);
            }
        };
    }

    void reconcileWatchers() {
        if (!ports_.permissions.isWindowAccessTrusted()) return;
        for (const auto& [pid, name] : apps_) {
            if (watchers_.contains(pid)) continue;
            auto watcher = std::make_unique<AppWatcher>(ports_.access, pid, loop_,
                                                        guarded([](Core& core) { core.scheduleReconcile(); }));
            // A refused one is dropped and tried again at the next call.
            if (watcher->install()) watchers_.emplace(pid, std::move(watcher));
        }
        std::erase_if(watchers_, [this](const auto& entry) { return !apps_.contains(entry.first); });
        reconciler_.keepFailureCountsOf(apps_);
    }

    // The periodic pass catches changes that send no notification and is not debounced;
    // the on-screen poll catches windows that come and go silently. Where every change is
    // reported, a poll with no change since the last read would find what that read found:
    // it rests until a change, then resumes on its own time grid.
    void updatePolls() {
        if (isStopped_) return;
        const bool periodic = !everyChangeReported_ || changedSinceReconcile_ || reconciler_.hasFailures();
        const bool onScreen = !everyChangeReported_ || changedSinceOnScreenRead_;
        arm(periodicTimer_, periodic, kPeriodicInterval, [](Core& core) { core.reconcile(); });
        arm(onScreenPollTimer_, onScreen, kOnScreenPollInterval, [](Core& core) { core.pollOnScreen(); });
    }

    template <class Step>
    void arm(std::optional<Timer>& timer, bool wanted, Duration interval, Step step) {
        if (!wanted) {
            timer.reset();
            return;
        }
        if (timer && timer->isPending()) return;
        const MediaTime now = ports_.clock.mediaNow();
        timer = loop_.every(interval, guarded(step), TimeGrid{pollOrigin_, interval}.nextAfter(now) - now);
    }

    void windowsChanged() {
        changedSinceReconcile_ = true;
        changedSinceOnScreenRead_ = true;
        updatePolls();
    }

    void pollOnScreen() {
        changedSinceOnScreenRead_ = false;
        WindowIdSet ids;
        for (const auto& [id, bounds] : cgOnScreenBounds(ports_.windowList))
            ids.insert(id);
        if (ids != reconciler_.lastOnScreenIDs()) {
            reconciler_.setLastOnScreenIDs(std::move(ids));
            scheduleReconcile();
        }
        updatePolls();
    }

    void reconcile() {
        changedSinceReconcile_ = false;
        changedSinceOnScreenRead_ = false;
        const WindowSnapshot snapshot = reconciler_.reconcile(apps_);
        if (isStopped_) return;
        publish_(snapshot);
        updatePolls();
    }

    Ports ports_;
    WorkerLoop& loop_;
    Publish publish_;
    TrackedApps apps_;
    std::map<Pid, std::unique_ptr<AppWatcher>> watchers_;
    WindowReconciler reconciler_;
    WindowActions actions_;
    std::optional<Timer> debounceTimer_;
    std::optional<Timer> periodicTimer_;
    std::optional<Timer> onScreenPollTimer_;
    MediaTime pollOrigin_;
    Subscription changes_;
    bool everyChangeReported_ = false;
    bool changedSinceReconcile_ = false;
    bool changedSinceOnScreenRead_ = false;
    bool isStopped_ = false;
};

AXWorker::AXWorker(Ports ports, Publish publish, ActivateApp activateApp)
    : ports_(ports), publish_(std::move(publish)), activateApp_(std::move(activateApp)) {}

AXWorker::~AXWorker() {
    if (!loop_) return;
    shutdown();
    // A thread stuck in another application's call is left to end on its own, with the
    // core its tasks hold; whoever owns the backends keeps them for it.
    stop_->finish(std::move(loop_), ports_.threads, kThreadName, kWaitLimit);
    core_.reset();
}

void AXWorker::start() {
    if (loop_ || isShutDown_) return;
    loop_ = ports_.threads.startWorker(kThreadName, kWaitLimit);
    if (!loop_) {
        log("the window worker thread did not start; windows are not tracked");
        return;
    }
    core_ = std::make_shared<Core>(ports_, *loop_, publish_, activateApp_);
    post([](Core& core) { core.installTimers(); });
}

void AXWorker::setApps(TrackedApps apps) {
    post([apps = std::move(apps)](Core& core) { core.setApps(apps); });
}

void AXWorker::requestReconcile() {
    post([](Core& core) { core.scheduleReconcile(); });
}

void AXWorker::rebuildWatchers() {
    post([](Core& core) { core.rebuildWatchers(); });
}

void AXWorker::perform(const WindowAction& action, const WindowInfo& window) {
    post([action, window](Core& core) { core.perform(action, window); });
}

void AXWorker::shutdown() {
    if (!loop_ || isShutDown_) return;
    post([](Core& core) { core.shutdown(); });
    isShutDown_ = true;
    stop_.emplace(*loop_);
}

void AXWorker::post(std::function<void(Core&)> step) {
    if (!loop_ || isShutDown_) return;
    loop_->post([weak = std::weak_ptr<Core>(core_), step = std::move(step)] {
        if (auto core = weak.lock()) step(*core);
    });
}

}  // namespace quillbern
