#include "sim/SimRunningApps.h"

namespace quillbern {

std::vector<RunningApp> SimRunningApps::runningApps() const {
    std::vector<RunningApp> apps;
    for (const auto& [pid, app] : apps_)
        apps.push_back(app);
    return apps;
}

std::optional<RunningApp> SimRunningApps::app(Pid pid) const {
    const auto found = apps_.find(pid);
    return found == apps_.end() ? std::nullopt : std::optional<RunningApp>(found->second);
}

std::optional<RunningApp> SimRunningApps::frontmostApp() const {
    return frontmost_ ? app(*frontmost_) : std::nullopt;
}

bool SimRunningApps::activate(Pid pid) {
    activations_.push_back(pid);
    if (!apps_.contains(pid)) return false;
    frontmost_ = pid;
    return true;
}

bool SimRunningApps::hide(Pid pid) {
    hides_.push_back(pid);
    return requestHidden(pid, true);
}

bool SimRunningApps::unhide(Pid pid) {
    unhides_.push_back(pid);
    return requestHidden(pid, false);
}

bool SimRunningApps::requestHidden(Pid pid, bool hidden) {
    if (!apps_.contains(pid)) return false;
    if (ignoresHiding_.contains(pid)) return true;
    if (!loop_ || hideLag_ <= 0) {
        setHidden(pid, hidden);
        return true;
    }
    std::erase_if(pendingHides_, [](const Timer& timer) { return !timer.isPending(); });
    pendingHides_.push_back(loop_->after(hideLag_, [this, pid, hidden] { setHidden(pid, hidden); }));
    return true;
}

void SimRunningApps::setHidden(Pid pid, bool hidden) {
    if (const auto found = apps_.find(pid); found != apps_.end()) found->second.isHidden = hidden;
}

void SimRunningApps::setIgnoresHiding(Pid pid, bool ignores) {
    if (ignores) {
        ignoresHiding_.insert(pid);
    } else {
        ignoresHiding_.erase(pid);
    }
}

bool SimRunningApps::quit(Pid pid) {
    quits_.push_back(pid);
    return apps_.contains(pid);
}

Subscription SimRunningApps::onLaunch(std::function<void(const RunningApp&)> callback) {
    return launched_.connect(std::move(callback));
}

Subscription SimRunningApps::onTerminate(std::function<void(const RunningApp&)> callback) {
    return terminated_.connect(std::move(callback));
}

Subscription SimRunningApps::onActivate(std::function<void(const RunningApp&)> callback) {
    return activated_.connect(std::move(callback));
}

Subscription SimRunningApps::onAppsChanged(Task callback) {
    const std::lock_guard lock(appsChanged_->mutex);
    const std::uint64_t id = ++appsChanged_->lastId;
    appsChanged_->callbacks.emplace(id, std::make_shared<const Task>(std::move(callback)));
    return Subscription([weak = std::weak_ptr(appsChanged_), id] {
        if (const auto listeners = weak.lock()) {
            const std::lock_guard lock(listeners->mutex);
            listeners->callbacks.erase(id);
        }
    });
}

void SimRunningApps::launch(RunningApp app) {
    apps_.insert_or_assign(app.pid, app);
    launched_.emit(app);
    announceAppsChanged();
}

void SimRunningApps::reidentify(RunningApp app) {
    apps_.insert_or_assign(app.pid, std::move(app));
    announceAppsChanged();
}

void SimRunningApps::terminate(Pid pid) {
    const auto found = apps_.find(pid);
    if (found == apps_.end()) return;
    const RunningApp app = found->second;
    apps_.erase(found);
    if (frontmost_ == pid) frontmost_.reset();
    terminated_.emit(app);
    announceAppsChanged();
}

void SimRunningApps::activateByUser(Pid pid) {
    const auto found = apps_.find(pid);
    if (found == apps_.end()) return;
    frontmost_ = pid;
    activated_.emit(found->second);
}

void SimRunningApps::announceAppsChanged() {
    // Outside the lock, so a callback may subscribe or unsubscribe; one removed before its
    // turn does not run.
    const std::shared_ptr<AppsChangedListeners> listeners = appsChanged_;
    std::vector<std::uint64_t> ids;
    {
        const std::lock_guard lock(listeners->mutex);
        for (const auto& entry : listeners->callbacks)
            ids.push_back(entry.first);
    }
    for (const std::uint64_t id : ids) {
        std::shared_ptr<const Task> callback;
        {
            const std::lock_guard lock(listeners->mutex);
            const auto found = listeners->callbacks.find(id);
            if (found == listeners->callbacks.end()) continue;
            callback = found->second;
        }
        (*callback)();
    }
}

}  // namespace quillbern
