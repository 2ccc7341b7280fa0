#pragma once

#include <map>
#include <optional>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/RunningApps.h"

namespace quillbern {

// Running applications a test launches, quits and activates, firing the notifications as
// the session would.
class SimRunningApps final : public RunningApps {
public:
    std::vector<RunningApp> runningApps() const override;
    std::optional<RunningApp> app(Pid pid) const override;
    std::optional<RunningApp> frontmostApp() const override;
    // Comes forward without the activation notification; tests send it with activateByUser.
    bool activate(Pid pid) override;
    // Recorded; the application stays until a test ends it with terminate.
    bool hide(Pid pid) override;
    bool quit(Pid pid) override;
    Subscription onLaunch(std::function<void(const RunningApp&)> callback) override;
    Subscription onTerminate(std::function<void(const RunningApp&)> callback) override;
    Subscription onActivate(std::function<void(const RunningApp&)> callback) override;
    Subscription onAppsChanged(Task callback) override;

    // Each also tells that the list changed, after the launch or termination notification.
    void launch(RunningApp app);
    void terminate(Pid pid);
    // The user switched to this application.
    void activateByUser(Pid pid);
    // The list changed without a notification of its own; from any thread, while the
    // main thread leaves this object alone.
    void announceAppsChanged();
    // Processes asked to come forward through activate(), in order.
    const std::vector<Pid>& activations() const { return activations_; }
    // Processes asked to hide and to quit, in order.
    const std::vector<Pid>& hides() const { return hides_; }
    const std::vector<Pid>& quits() const { return quits_; }

private:
    std::map<Pid, RunningApp> apps_;
    std::optional<Pid> frontmost_;
    std::vector<Pid> activations_;
    std::vector<Pid> hides_;
    std::vector<Pid> quits_;
    Signal<RunningApp> launched_;
    Signal<RunningApp> terminated_;
    Signal<RunningApp> activated_;
    Signal<> appsChanged_;
};

}  // namespace quillbern
