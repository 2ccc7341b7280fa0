#include "core/windows/WindowEngine.h"

namespace quillbern {

WindowEngine::WindowEngine(Ports ports) : ports_(ports), isTrusted_(ports.worker.permissions.isWindowAccessTrusted()) {}

WindowEngine::~WindowEngine() {
    stop();
}

void WindowEngine::start() {
    expectOnLoop(ports_.mainLoop);
    if (worker_ || stoppedWorker_) return;
    const LifetimeToken token = lifetime_.token();
    worker_ = std::make_unique<AXWorker>(
        ports_.worker, onLoop(ports_.mainLoop, token, [this](const WindowSnapshot& snapshot) { apply(snapshot); }),
        onLoop(ports_.mainLoop, token, [this](Pid pid) { activate(pid); }));
    worker_->start();
    subscribe();
    pushApps();
    trustWatch_ = ports_.worker.permissions.onTrustChange(lifetime_.guard([this] { pollTrust(); }));
    if (!trustWatch_) {
        permissionTimer_ = ports_.mainLoop.every(kTrustPollInterval, lifetime_.guard([this] { pollTrust(); }));
    }
}

void WindowEngine::stop() {
    expectOnLoop(ports_.mainLoop);
    permissionTimer_.reset();
    trustWatch_.reset();
    tokens_.clear();
    if (!worker_) return;
    worker_->shutdown();
    stoppedWorker_ = std::move(worker_);
}

void WindowEngine::apply(const WindowSnapshot& snapshot) {
    expectOnLoop(ports_.mainLoop);
    if (snapshot == snapshot_) return;
    snapshot_ = snapshot;
    snapshotChanged.emit();
    if (onSnapshotChange) onSnapshotChange(snapshot_);
}

void WindowEngine::subscribe() {
    const auto reconcile = lifetime_.guard([this] { requestReconcile(); });
    const auto appsChanged = lifetime_.guard([this](const RunningApp&) { pushApps(); });
    tokens_.push_back(ports_.apps.onLaunch(appsChanged));
    tokens_.push_back(ports_.apps.onTerminate(appsChanged));
    // An application identified anew gives its windows another name.
    tokens_.push_back(ports_.apps.onAppsChanged(onLoop(ports_.mainLoop, lifetime_.token(), [this] { pushApps(); })));
    tokens_.push_back(ports_.apps.onActivate([reconcile](const RunningApp&) { reconcile(); }));
    tokens_.push_back(ports_.session.on(SessionEvent::didWake, reconcile));
    tokens_.push_back(ports_.session.on(SessionEvent::desktopChanged, reconcile));
    tokens_.push_back(ports_.screens.onChanged(reconcile));
    tokens_.push_back(ports_.session.on(SessionEvent::screenLocked, reconcile));
    tokens_.push_back(ports_.session.on(SessionEvent::screenUnlocked, reconcile));
}

void WindowEngine::pushApps() {
    if (!worker_) return;
    TrackedApps apps;
    for (const RunningApp& app : ports_.apps.runningApps()) {
        // Accessories and background agents have no windows worth a dock.
        if (app.policy != ActivationPolicy::regular) continue;
        apps.insert_or_assign(app.pid, app.name.value_or("?"));
    }
    if (apps == pushedApps_) return;
    pushedApps_ = apps;
    worker_->setApps(std::move(apps));
}

void WindowEngine::requestReconcile() {
    expectOnLoop(ports_.mainLoop);
    if (worker_) worker_->requestReconcile();
}

void WindowEngine::pollTrust() {
    expectOnLoop(ports_.mainLoop);
    const bool trusted = ports_.worker.permissions.isWindowAccessTrusted();
    if (trusted == isTrusted_) return;
    isTrusted_ = trusted;
    trustChanged.emit();
    if (onTrustChange) onTrustChange();
    // Watchers could not be installed without trust; only a grant needs them rebuilt.
    if (trusted && worker_) worker_->rebuildWatchers();
}

void WindowEngine::activate(Pid pid) {
    expectOnLoop(ports_.mainLoop);
    if (ports_.apps.app(pid)) ports_.apps.activate(pid);
}

}  // namespace quillbern
