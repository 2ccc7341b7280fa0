#pragma once

#include "core/platform/RunningApps.h"
#include "core/platform/SessionEvents.h"

namespace quillbern {

// Stand-ins for ports whose Linux backends do not exist yet. Each reports honestly that it
// knows nothing, so the program runs without pretending: no running applications, no
// session events. Replace each with its real backend when that lands. Header only.

class NoRunningApps final : public RunningApps {
public:
    std::vector<RunningApp> runningApps() const override { return {}; }
    std::optional<RunningApp> app(Pid) const override { return std::nullopt; }
    std::optional<RunningApp> frontmostApp() const override { return std::nullopt; }
    bool activate(Pid) override { return false; }
    Subscription onLaunch(std::function<void(const RunningApp&)>) override { return {}; }
    Subscription onTerminate(std::function<void(const RunningApp&)>) override { return {}; }
    Subscription onActivate(std::function<void(const RunningApp&)>) override { return {}; }
    Subscription onAppsChanged(Task) override { return {}; }
};

class NoSessionEvents final : public SessionEvents {
public:
    Subscription on(SessionEvent, Task) override { return {}; }
};

}  // namespace quillbern
