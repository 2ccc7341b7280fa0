#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/EventMonitors.h"
#include "core/platform/HotKeys.h"
#include "core/platform/LoginService.h"
#include "core/platform/NativeDockPreferences.h"
#include "core/platform/PanelHost.h"
#include "core/platform/Permissions.h"
#include "core/platform/RunningApps.h"
#include "core/platform/SessionEvents.h"
#include "core/platform/SystemAppearance.h"
#include "core/platform/Threads.h"
#include "core/platform/Updater.h"

namespace quillbern::testing {

// Every call the shell makes into the system or into one of its parts, in order, so tests
// can assert the order across ports.
class CallLog {
public:
    void add(std::string call) { calls_.push_back(std::move(call)); }
    const std::vector<std::string>& calls() const { return calls_; }
    void clear() { calls_.clear(); }
    // Whether the calls starting with these prefixes come in this order, each searched
    // after the one before it.
    bool hasInOrder(std::initializer_list<std::string_view> prefixes) const;
    int count(std::string_view prefix) const;

private:
    std::vector<std::string> calls_;
};

// Ports that log each call, then hand it to a simulated backend.

class RecordedPermissions final : public Permissions {
public:
    RecordedPermissions(Permissions& inner, CallLog& log) : inner_(inner), log_(log) {}
    bool isWindowAccessTrusted() const override;
    Subscription onTrustChange(Task handler) override { return inner_.onTrustChange(std::move(handler)); }
    bool requestWindowAccess() override;
    std::optional<CommandLine> staleEntryResetCommand() const override;
    bool isCaptureAllowed() const override;
    void requestCaptureAccess(std::function<void(bool)> done) override;

private:
    Permissions& inner_;
    CallLog& log_;
};

class RecordedRunningApps final : public RunningApps {
public:
    RecordedRunningApps(RunningApps& inner, CallLog& log) : inner_(inner), log_(log) {}
    std::vector<RunningApp> runningApps() const override;
    std::optional<RunningApp> app(Pid pid) const override { return inner_.app(pid); }
    std::optional<RunningApp> frontmostApp() const override { return inner_.frontmostApp(); }
    bool activate(Pid pid) override { return inner_.activate(pid); }
    bool hide(Pid pid) override { return inner_.hide(pid); }
    bool unhide(Pid pid) override { return inner_.unhide(pid); }
    bool quit(Pid pid) override { return inner_.quit(pid); }
    Subscription onLaunch(std::function<void(const RunningApp&)> callback) override;
    Subscription onTerminate(std::function<void(const RunningApp&)> callback) override;
    Subscription onActivate(std::function<void(const RunningApp&)> callback) override;
    Subscription onAppsChanged(Task callback) override;

private:
    RunningApps& inner_;
    CallLog& log_;
};

class RecordedAppearance final : public SystemAppearance {
public:
    RecordedAppearance(SystemAppearance& inner, CallLog& log) : inner_(inner), log_(log) {}
    bool reduceMotion() const override { return inner_.reduceMotion(); }
    bool reduceTransparency() const override;
    Color accentColor() const override { return inner_.accentColor(); }
    bool supportsGlass() const override { return inner_.supportsGlass(); }
    bool hasCompositor() const override { return inner_.hasCompositor(); }
    Subscription onChanged(Task onChange) override { return inner_.onChanged(std::move(onChange)); }

private:
    SystemAppearance& inner_;
    CallLog& log_;
};

class RecordedLogin final : public LoginService {
public:
    RecordedLogin(LoginService& inner, CallLog& log) : inner_(inner), log_(log) {}
    LoginStatus status() const override;
    Result<void> registerApp() override;
    Result<void> unregisterApp() override;

private:
    LoginService& inner_;
    CallLog& log_;
};

class RecordedNativeDock final : public NativeDockPreferences {
public:
    RecordedNativeDock(NativeDockPreferences& inner, CallLog& log) : inner_(inner), log_(log) {}
    bool isSupported() const override { return inner_.isSupported(); }
    std::optional<Json> value(std::string_view key) const override { return inner_.value(key); }
    void setValue(std::string_view key, std::optional<Json> value) override;
    bool synchronize() override { return inner_.synchronize(); }
    ProcessResult restartDock(Duration timeLimit) override { return inner_.restartDock(timeLimit); }

private:
    NativeDockPreferences& inner_;
    CallLog& log_;
};

class RecordedEventMonitors final : public EventMonitors {
public:
    RecordedEventMonitors(EventMonitors& inner, CallLog& log) : inner_(inner), log_(log) {}
    Subscription onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;
    Subscription onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;
    std::unique_ptr<KeyTap> tapKeyDown(std::function<void(const KeyTapEvent&)> handler) override;

private:
    EventMonitors& inner_;
    CallLog& log_;
};

// Logs subscriptions made and ended.
class RecordedSessionEvents final : public SessionEvents {
public:
    RecordedSessionEvents(SessionEvents& inner, CallLog& log) : inner_(inner), log_(log) {}
    Subscription on(SessionEvent event, Task task) override;

private:
    SessionEvents& inner_;
    CallLog& log_;
};

class RecordedThreads final : public Threads {
public:
    RecordedThreads(Threads& inner, CallLog& log) : inner_(inner), log_(log) {}
    std::unique_ptr<WorkerLoop> startWorker(std::string name, Duration readyTimeout) override;
    void leaveBehind(std::unique_ptr<WorkerLoop> worker) override { inner_.leaveBehind(std::move(worker)); }
    std::unique_ptr<SerialQueue> serialQueue(std::string label) override;
    void runInBackground(std::string name, Task work) override;

private:
    Threads& inner_;
    CallLog& log_;
};

// Logs panels made and closed.
class RecordedPanels final : public PanelHost {
public:
    RecordedPanels(PanelHost& inner, CallLog& log) : inner_(inner), log_(log) {}
    std::unique_ptr<Panel> createPanel(const PanelStyle& style, RectBL frame, PanelContent content) override;
    std::vector<OwnWindow> ownWindows() const override { return inner_.ownWindows(); }

private:
    PanelHost& inner_;
    CallLog& log_;
};

// Logs the handler and every grab, made and given back.
class RecordedHotKeys final : public HotKeys {
public:
    RecordedHotKeys(HotKeys& inner, CallLog& log) : inner_(inner), log_(log) {}
    int setHandler(std::function<void(const HotKeyEvent&)> handler) override;
    void clearHandler() override;
    HotKeyRegistration grab(KeyCode keyCode, std::uint32_t modifiers, std::uint32_t id) override;
    void setSuspended(bool suspended) override { inner_.setSuspended(suspended); }

private:
    HotKeys& inner_;
    CallLog& log_;
};

class RecordedUpdater final : public Updater {
public:
    RecordedUpdater(Updater& inner, CallLog& log) : inner_(inner), log_(log) {}
    void start() override;
    bool canCheck() const override { return inner_.canCheck(); }
    void checkNow() override { inner_.checkNow(); }
    bool checksAutomatically() const override { return inner_.checksAutomatically(); }
    void setChecksAutomatically(bool on) override { inner_.setChecksAutomatically(on); }
    std::optional<WallTime> lastCheck() const override { return inner_.lastCheck(); }
    Subscription onWillRelaunch(Task task) override;

private:
    Updater& inner_;
    CallLog& log_;
};

}  // namespace quillbern::testing
