#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/platform/RunningApps.h"
#include "core/platform/Threads.h"
#include "linux/x11/AppMatching.h"
#include "linux/x11/X11AppPresence.h"

namespace quillbern {

class ChildProcess;
class LinuxAppCatalog;
class X11Connection;
class X11HiddenApps;
class X11Screens;

// The applications of the session: the owners of managed client windows (ClientFacts::pid:
// a process, or the connection of a window no process of this machine owns; our own and docks
// left out) and the processes we launched until their windows are gone,
// each recognised by its desktop entry where one matches. A worker of its own, on its own
// connection, looks at the client table whenever the client list, the stacking or the
// active window on the root change (reading again only the windows the server reported
// changed), identifies new processes there against the desktop
// entries it keeps until the catalogue says they changed, and hands what it found to the
// main thread: launches, terminations and activations are the differences between two
// looks. It follows the naming properties of the applications' windows too, and
// identifies an application again when they change after the window mapped. The main
// thread never waits for the server or the disk here. A change of a window's state is a
// change too: whether an application is hidden is read from its windows. Main thread;
// debug builds stop at a call from another.
class X11RunningApps final : public RunningApps {
public:
    static constexpr const char* kThreadName = "quillbern.apps";

    // Takes stock of what runs already (waiting for it), then starts the worker. What its
    // hiding does goes to `hidden`.
    X11RunningApps(X11Connection& connection, const X11Screens& screens, LinuxAppCatalog& catalog,
                   X11HiddenApps& hidden, RunLoop& mainLoop, Threads& threads);
    // Stops first.
    ~X11RunningApps() override;
    X11RunningApps(const X11RunningApps&) = delete;
    X11RunningApps& operator=(const X11RunningApps&) = delete;

    std::vector<RunningApp> runningApps() const override;
    std::optional<RunningApp> app(Pid pid) const override;
    std::optional<RunningApp> frontmostApp() const override;
    // Raises and focuses the application's best window (see bestWindow) in the client
    // table of the last look; an application our hiding hid is shown again instead.
    bool activate(Pid pid) override;
    // Minimises each of its windows, as the worker reads them next, remembering which as
    // its application's. False for a process that is not a running application.
    bool hide(Pid pid) override;
    // Restores, by activation and as the worker reads them next, the windows hiding its
    // application minimised, those of its other processes too, front-most last; with none
    // of those still listed, every minimised window of the process.
    bool unhide(Pid pid) override;
    // Asks each of its windows to close, as the worker reads them next; a process without
    // windows is sent SIGTERM only when we started it (noteLaunch), through the pidfd held
    // since. False for ourselves and for what is not a running application.
    bool quit(Pid pid) override;

    Subscription onLaunch(std::function<void(const RunningApp&)> callback) override;
    Subscription onTerminate(std::function<void(const RunningApp&)> callback) override;
    Subscription onActivate(std::function<void(const RunningApp&)> callback) override;
    Subscription onAppsChanged(Task callback) override;

    // A process we started for the desktop entry: running from now on, known by that entry,
    // and held until it ends, which is the only kind Quit may signal.
    void noteLaunch(std::shared_ptr<ChildProcess> child, const Path& entry);
    // Ends the worker, waiting for it within WorkerStop's limit: one stuck in the disk or
    // /proc is left behind with the tracker its tasks share, and with the screens, the
    // hidden windows' record and the main loop it reaches, which the owner must keep. The
    // applications stay as last seen.
    void stop();

    // Every size of the picture the application's front-most window carries, read on the
    // worker once per application name while it runs: every process of one application
    // shows the same. Empty until read, or when its windows carry none.
    std::vector<PixelBuffer> windowPictures(Pid pid) const;

    // What one look found.
    struct Look {
        ClientTable table;
        std::vector<std::uint32_t> recentlyActive;
        AppPresence presence;
        AppChanges changes;
        // The launched processes, identified.
        std::vector<RunningApp> identified;
        // Running ones whose windows renamed themselves, identified again.
        std::vector<RunningApp> reidentified;
        // Whether a launched process shows its first window.
        bool firstWindows = false;
        // The window pictures read in this look, by application name.
        std::map<std::string, std::vector<PixelBuffer>> pictures;
    };

private:
    class Tracker;

    void apply(Look look);
    // An application is hidden while it has windows and every one is minimised.
    void markHidden();
    // Keeps the pictures read, forgets those of names no longer running; whether any is new.
    bool keepPictures(std::map<std::string, std::vector<PixelBuffer>> fresh);

    X11Connection& connection_;
    X11HiddenApps& hidden_;
    RunLoop& loop_;
    Threads& threads_;
    std::uint32_t activeWindowAtom_, restackAtom_, changeStateAtom_, closeWindowAtom_;

    std::map<Pid, RunningApp> apps_;
    AppPresence presence_;
    ClientTable table_;
    std::vector<std::uint32_t> recentlyActive_;
    // The window pictures of the running applications, by name.
    std::map<std::string, std::vector<PixelBuffer>> pictures_;

    Signal<RunningApp> launched_;
    Signal<RunningApp> terminated_;
    Signal<RunningApp> activated_;
    Signal<> appsChanged_;
    Subscription catalogChanges_;
    std::shared_ptr<Tracker> tracker_;
    std::unique_ptr<WorkerLoop> worker_;
    Lifetime lifetime_;
};

}  // namespace quillbern
