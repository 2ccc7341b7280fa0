#pragma once

#include <map>
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
    bool activate(Pid pid) override;
    Subscription onLaunch(std::function<void(const RunningApp&)> callback) override;
    Subscription onTerminate(std::function<void(const RunningApp&)> callback) override;
    Subscription onActivate(std::function<void(const RunningApp&)> callback) override;

    void launch(RunningApp app);
    void terminate(Pid pid);
    // The user switched to this application.
    void activateByUser(Pid pid);
    // Processes asked to come forward through activate(), in order.
    const std::vector<Pid>& activations() const { return activations_; }

private:
    std::map<Pid, RunningApp> apps_;
    std::vector<Pid> activations_;
    Signal<RunningApp> launched_;
    Signal<RunningApp> terminated_;
    Signal<RunningApp> activated_;
};

}  // namespace quillbern
