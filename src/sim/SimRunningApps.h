#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/RunningApps.h"

namespace quillbern {

// Running applications a test launches, quits and activates, firing the notifications as
// the session would. Hiding and showing take effect at once, or, given a loop, as late as a
// test asks, as they do on a desktop.
class SimRunningApps final : public RunningApps {
public:
    SimRunningApps() = default;
    explicit SimRunningApps(RunLoop& loop) : loop_(&loop) {}
    SimRunningApps(const SimRunningApps&) = delete;
    SimRunningApps& operator=(const SimRunningApps&) = delete;

    std::vector<RunningApp> runningApps() const override;
    std::optional<RunningApp> app(Pid pid) const override;
    std::optional<RunningApp> frontmostApp() const override;
    // Comes forward without the activation notification; tests send it with activateByUser.
    bool activate(Pid pid) override;
    // Recorded; the application stays until a test ends it with terminate. Each hides or
    // shows it after the lag, unless the test makes it ignore them.
    bool hide(Pid pid) override;
    bool unhide(Pid pid) override;
    bool quit(Pid pid) override;
    Subscription onLaunch(std::function<void(const RunningApp&)> callback) override;
    Subscription onTerminate(std::function<void(const RunningApp&)> callback) override;
    Subscription onActivate(std::function<void(const RunningApp&)> callback) override;
    Subscription onAppsChanged(Task callback) override;

    // Each also tells that the list changed, after the launch or termination notification.
    void launch(RunningApp app);
    void terminate(Pid pid);
    // The same process known anew, as when its application's entry is installed: only the
    // list's change is told.
    void reidentify(RunningApp app);
    // The user switched to this application.
    void activateByUser(Pid pid);
    // Hidden or shown by other means, at once.
    void setHidden(Pid pid, bool hidden);
    // How long hide() and unhide() take to show in isHidden; needs the loop.
    void setHideLag(Duration lag) { hideLag_ = lag; }
    // The application takes no notice of hide() and unhide() (recorded still).
    void setIgnoresHiding(Pid pid, bool ignores);
    // The list changed without a notification of its own; from any thread, as a backend
    // may tell it.
    void announceAppsChanged();
    // Processes asked to come forward through activate(), in order.
    const std::vector<Pid>& activations() const { return activations_; }
    // Processes asked to hide and to quit, in order.
    const std::vector<Pid>& hides() const { return hides_; }
    const std::vector<Pid>& unhides() const { return unhides_; }
    const std::vector<Pid>& quits() const { return quits_; }

private:
    bool requestHidden(Pid pid, bool hidden);

    RunLoop* loop_ = nullptr;
    Duration hideLag_ = 0;
    std::set<Pid> ignoresHiding_;
    std::vector<Timer> pendingHides_;
    std::map<Pid, RunningApp> apps_;
    std::optional<Pid> frontmost_;
    std::vector<Pid> activations_;
    std::vector<Pid> hides_;
    std::vector<Pid> unhides_;
    std::vector<Pid> quits_;
    Signal<RunningApp> launched_;
    Signal<RunningApp> terminated_;
    Signal<RunningApp> activated_;
    // Told on any thread, so held under a lock rather than in a signal, which is one thread's.
    struct AppsChangedListeners {
        std::mutex mutex;
        std::map<std::uint64_t, std::shared_ptr<const Task>> callbacks;
        std::uint64_t lastId = 0;
    };
    std::shared_ptr<AppsChangedListeners> appsChanged_ = std::make_shared<AppsChangedListeners>();
};

}  // namespace quillbern
