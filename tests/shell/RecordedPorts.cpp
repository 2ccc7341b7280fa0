#include "shell/RecordedPorts.h"

#include <algorithm>

namespace quillbern::testing {

namespace {

const char* eventName(SessionEvent event) {
    switch (event) {
        case SessionEvent::willSleep:
            return "willSleep";
        case SessionEvent::didWake:
            return "didWake";
        case SessionEvent::screenLocked:
            return "screenLocked";
        case SessionEvent::screenUnlocked:
            return "screenUnlocked";
        case SessionEvent::desktopChanged:
            return "desktopChanged";
    }
    return "?";
}

class RecordedPanel final : public Panel {
public:
    RecordedPanel(std::unique_ptr<Panel> inner, CallLog& log) : inner_(std::move(inner)), log_(log) {}
    ~RecordedPanel() override { log_.add("panel.close"); }
    std::uint64_t serial() const override { return inner_->serial(); }
    RectBL frame() const override { return inner_->frame(); }
    void setFrame(RectBL frame) override { inner_->setFrame(frame); }
    double alpha() const override { return inner_->alpha(); }
    void setAlpha(double alpha) override { inner_->setAlpha(alpha); }
    void animate(Animation animation, std::optional<double> alpha, std::optional<RectBL> frame, Task onDone) override {
        inner_->animate(animation, alpha, frame, std::move(onDone));
    }
    void orderFront() override { inner_->orderFront(); }
    void orderOut() override { inner_->orderOut(); }
    bool isVisible() const override { return inner_->isVisible(); }
    void setContent(PanelContent content) override { inner_->setContent(std::move(content)); }
    void setCommandClickHandler(Task handler) override { inner_->setCommandClickHandler(std::move(handler)); }
    void makeKeyAndOrderFront() override {
        log_.add("panel.makeKeyAndOrderFront");
        inner_->makeKeyAndOrderFront();
    }
    bool isKey() const override { return inner_->isKey(); }
    void setKeyHandlers(PanelKeyHandlers handlers) override { inner_->setKeyHandlers(std::move(handlers)); }
    void setVeil(std::optional<RectBL> hole, double intensity) override { inner_->setVeil(hole, intensity); }
    void clearVeilEffects() override { inner_->clearVeilEffects(); }

private:
    std::unique_ptr<Panel> inner_;
    CallLog& log_;
};

class RecordedGrab final : public HotKeyGrab {
public:
    RecordedGrab(std::unique_ptr<HotKeyGrab> inner, CallLog& log) : inner_(std::move(inner)), log_(log) {}
    ~RecordedGrab() override { log_.add("hotKeys.ungrab"); }

private:
    std::unique_ptr<HotKeyGrab> inner_;
    CallLog& log_;
};

}  // namespace

bool CallLog::hasInOrder(std::initializer_list<std::string_view> prefixes) const {
    auto from = calls_.begin();
    for (const std::string_view prefix : prefixes) {
        from = std::find_if(from, calls_.end(), [prefix](const std::string& call) { return call.starts_with(prefix); });
        if (from == calls_.end()) return false;
        ++from;
    }
    return true;
}

int CallLog::count(std::string_view prefix) const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [prefix](const std::string& call) { return call.starts_with(prefix); }));
}

bool RecordedPermissions::isWindowAccessTrusted() const {
    log_.add("permissions.isWindowAccessTrusted");
    return inner_.isWindowAccessTrusted();
}

bool RecordedPermissions::requestWindowAccess() {
    log_.add("permissions.requestWindowAccess");
    return inner_.requestWindowAccess();
}

std::optional<CommandLine> RecordedPermissions::staleEntryResetCommand() const {
    return inner_.staleEntryResetCommand();
}

bool RecordedPermissions::isCaptureAllowed() const {
    log_.add("permissions.isCaptureAllowed");
    return inner_.isCaptureAllowed();
}

void RecordedPermissions::requestCaptureAccess(std::function<void(bool)> done) {
    log_.add("permissions.requestCaptureAccess");
    inner_.requestCaptureAccess(std::move(done));
}

std::vector<RunningApp> RecordedRunningApps::runningApps() const {
    log_.add("apps.runningApps");
    return inner_.runningApps();
}

Subscription RecordedRunningApps::onLaunch(std::function<void(const RunningApp&)> callback) {
    log_.add("apps.onLaunch");
    return inner_.onLaunch(std::move(callback));
}

Subscription RecordedRunningApps::onTerminate(std::function<void(const RunningApp&)> callback) {
    log_.add("apps.onTerminate");
    return inner_.onTerminate(std::move(callback));
}

Subscription RecordedRunningApps::onActivate(std::function<void(const RunningApp&)> callback) {
    log_.add("apps.onActivate");
    return inner_.onActivate(std::move(callback));
}

Subscription RecordedRunningApps::onAppsChanged(Task callback) {
    log_.add("apps.onAppsChanged");
    return inner_.onAppsChanged(std::move(callback));
}

bool RecordedAppearance::reduceTransparency() const {
    log_.add("appearance.reduceTransparency");
    return inner_.reduceTransparency();
}

LoginStatus RecordedLogin::status() const {
    log_.add("login.status");
    return inner_.status();
}

Result<void> RecordedLogin::registerApp() {
    log_.add("login.registerApp");
    return inner_.registerApp();
}

Result<void> RecordedLogin::unregisterApp() {
    log_.add("login.unregisterApp");
    return inner_.unregisterApp();
}

void RecordedNativeDock::setValue(std::string_view key, std::optional<Json> value) {
    log_.add("nativeDock.setValue " + std::string(key));
    inner_.setValue(key, std::move(value));
}

Subscription RecordedEventMonitors::onGlobalMouseDown(MouseButtons buttons,
                                                      std::function<void(const MouseDown&)> handler) {
    log_.add("events.onGlobalMouseDown");
    return inner_.onGlobalMouseDown(buttons, std::move(handler));
}

Subscription RecordedEventMonitors::onLocalMouseDown(MouseButtons buttons,
                                                     std::function<void(const MouseDown&)> handler) {
    log_.add("events.onLocalMouseDown");
    return inner_.onLocalMouseDown(buttons, std::move(handler));
}

std::unique_ptr<KeyTap> RecordedEventMonitors::tapKeyDown(std::function<void(const KeyTapEvent&)> handler) {
    log_.add("events.tapKeyDown");
    return inner_.tapKeyDown(std::move(handler));
}

Subscription RecordedSessionEvents::on(SessionEvent event, Task task) {
    log_.add(std::string("session.on ") + eventName(event));
    auto inner = std::make_shared<Subscription>(inner_.on(event, std::move(task)));
    return Subscription([this, event, inner] {
        log_.add(std::string("session.off ") + eventName(event));
        inner->reset();
    });
}

std::unique_ptr<WorkerLoop> RecordedThreads::startWorker(std::string name, Duration readyTimeout) {
    log_.add("threads.startWorker " + name);
    return inner_.startWorker(std::move(name), readyTimeout);
}

std::unique_ptr<SerialQueue> RecordedThreads::serialQueue(std::string label) {
    log_.add("threads.serialQueue " + label);
    return inner_.serialQueue(std::move(label));
}

void RecordedThreads::runInBackground(std::string name, Task work) {
    log_.add("threads.runInBackground " + name);
    inner_.runInBackground(std::move(name), std::move(work));
}

std::unique_ptr<Panel> RecordedPanels::createPanel(const PanelStyle& style, RectBL frame, PanelContent content) {
    log_.add("panels.createPanel");
    return std::make_unique<RecordedPanel>(inner_.createPanel(style, frame, std::move(content)), log_);
}

int RecordedHotKeys::setHandler(std::function<void(const HotKeyEvent&)> handler) {
    log_.add("hotKeys.setHandler");
    return inner_.setHandler(std::move(handler));
}

void RecordedHotKeys::clearHandler() {
    log_.add("hotKeys.clearHandler");
    inner_.clearHandler();
}

HotKeyRegistration RecordedHotKeys::grab(KeyCode keyCode, std::uint32_t modifiers, std::uint32_t id) {
    log_.add("hotKeys.grab");
    HotKeyRegistration registration = inner_.grab(keyCode, modifiers, id);
    if (registration.grab) registration.grab = std::make_unique<RecordedGrab>(std::move(registration.grab), log_);
    return registration;
}

void RecordedUpdater::start() {
    log_.add("updater.start");
    inner_.start();
}

Subscription RecordedUpdater::onWillRelaunch(Task task) {
    log_.add("updater.onWillRelaunch");
    return inner_.onWillRelaunch(std::move(task));
}

}  // namespace quillbern::testing
