#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"
#include "core/platform/Types.h"

namespace quillbern {

// How an application presents itself: regular ones have windows and a dock presence;
// accessories and background agents are not tracked.
enum class ActivationPolicy { regular, accessory, prohibited };

struct RunningApp {
    Pid pid = 0;
    std::optional<std::string> name;
    ActivationPolicy policy = ActivationPolicy::regular;
    std::optional<AppId> appId{};
    // Where the application is installed: its desktop entry on Linux.
    std::optional<Path> appPath{};
    // The class its windows name (WM_CLASS on X11); none for a process without windows.
    std::optional<std::string> windowClass{};
    // Out of sight as a whole; on X11, every one of its windows is minimised.
    bool isHidden = false;
    // Started by this program, which still holds it: the only kind of process Quit may ask to
    // end by a signal, once it shows no window. Any other is only asked to close its windows.
    bool startedHere = false;
    bool operator==(const RunningApp&) const = default;
};

// Which application the process counts for, as docks and task bars group processes: its
// identity, else the class its windows name, else the process alone. Processes with one key
// are one application (each xterm window is a process of its own).
std::string applicationKey(const RunningApp& app);

// The applications running in the session. Main thread.
class RunningApps {
public:
    virtual ~RunningApps() = default;

    virtual std::vector<RunningApp> runningApps() const = 0;
    virtual std::optional<RunningApp> app(Pid pid) const = 0;
    // The application the user works in; none when no application is active.
    virtual std::optional<RunningApp> frontmostApp() const = 0;
    // Brings the application forward even while another one is active.
    virtual bool activate(Pid pid) = 0;
    // Takes the application out of sight; on X11 its windows are minimised one by one.
    // Both take effect some time after they return: `isHidden` follows then.
    virtual bool hide(Pid pid) = 0;
    // Brings a hidden application back as it was; on X11 the windows hide() minimised.
    virtual bool unhide(Pid pid) = 0;
    // Asks the application to quit: each of its windows is asked to close, and a process
    // without windows is asked to end only when it was startedHere.
    virtual bool quit(Pid pid) = 0;

    [[nodiscard]] virtual Subscription onLaunch(std::function<void(const RunningApp&)> callback) = 0;     // [main]
    [[nodiscard]] virtual Subscription onTerminate(std::function<void(const RunningApp&)> callback) = 0;  // [main]
    // The active application changed.
    [[nodiscard]] virtual Subscription onActivate(std::function<void(const RunningApp&)> callback) = 0;  // [main]
    // The list of running applications changed in any way.
    [[nodiscard]] virtual Subscription onAppsChanged(Task callback) = 0;  // [any]
};

}  // namespace quillbern
