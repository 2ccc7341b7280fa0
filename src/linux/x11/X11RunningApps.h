#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/platform/RunningApps.h"
#include "linux/x11/AppMatching.h"
#include "linux/x11/X11AppPresence.h"

namespace quillbern {

class LinuxAppCatalog;
class X11ClientReader;
class X11Connection;
class X11Screens;

// The applications of the session: the processes that own managed client windows (our
// own and docks left out) and the processes we launched until their windows are gone,
// each recognised by its desktop entry where one matches. The client list and the active
// window on the root tell when to look again; launches, terminations and activations are
// the differences between two looks. Main thread.
class X11RunningApps final : public RunningApps {
public:
    // How often a launched process that shows no window yet is checked for its exit.
    static constexpr Duration kLaunchedCheck = 1.0;

    X11RunningApps(X11Connection& connection, const X11Screens& screens, const LinuxAppCatalog& catalog,
                   RunLoop& mainLoop);
    ~X11RunningApps() override;
    X11RunningApps(const X11RunningApps&) = delete;
    X11RunningApps& operator=(const X11RunningApps&) = delete;

    std::vector<RunningApp> runningApps() const override;
    std::optional<RunningApp> app(Pid pid) const override;
    std::optional<RunningApp> frontmostApp() const override;
    // Raises and focuses the application's best window (see bestWindow).
    bool activate(Pid pid) override;

    Subscription onLaunch(std::function<void(const RunningApp&)> callback) override;
    Subscription onTerminate(std::function<void(const RunningApp&)> callback) override;
    Subscription onActivate(std::function<void(const RunningApp&)> callback) override;
    Subscription onAppsChanged(Task callback) override;

    // A process we started for the desktop entry: running from now on, known by that entry.
    void noteLaunch(Pid pid, const Path& entry);

private:
    struct Launch {
        Path entry;
        bool hadWindows = false;
    };

    std::optional<ClientTable> readTable() const;
    void scheduleRefresh();
    void refresh();
    // Adds the launched processes that run without a window yet; forgets the others.
    void addLaunched(AppPresence& presence);
    void watchLaunched();
    void identify(const std::vector<Pid>& pids, const ClientTable& table);
    // Follows the naming properties of the applications' windows.
    void watchWindows(const ClientTable& table, const AppPresence& presence);
    // Identifies the applications whose windows renamed themselves; whether any changed.
    bool identifyRenamed(const ClientTable& table);
    RunningApp identified(Pid pid, const std::vector<WindowFacts>& windows, const AppMatcher& matcher) const;

    X11Connection& connection_;
    const X11Screens& screens_;
    const LinuxAppCatalog& catalog_;
    RunLoop& loop_;
    std::unique_ptr<X11ClientReader> reader_;
    Pid ownPid_;
    std::uint32_t activeWindowAtom_, restackAtom_;

    std::map<Pid, RunningApp> apps_;
    AppPresence presence_;
    std::vector<std::uint32_t> recentlyActive_;
    std::map<Pid, Launch> launches_;
    std::map<xcb_window_t, Pid> watched_;
    std::set<Pid> renamed_;
    Timer launchedCheck_;
    bool refreshPosted_ = false;

    Signal<RunningApp> launched_;
    Signal<RunningApp> terminated_;
    Signal<RunningApp> activated_;
    Signal<> appsChanged_;
    Subscription events_;
    Lifetime lifetime_;
};

}  // namespace quillbern
