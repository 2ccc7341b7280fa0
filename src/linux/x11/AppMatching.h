#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Types.h"
#include "linux/freedesktop/DesktopEntryFacts.h"
#include "linux/process/ProcessFacts.h"

namespace quillbern {

// What the window system tells about one window and its process.
struct WindowFacts {
    std::optional<std::string> applicationId;    // _GTK_APPLICATION_ID
    std::optional<std::string> desktopFile;      // _KDE_NET_WM_DESKTOP_FILE
    std::optional<std::string> wmClassInstance;  // first string of WM_CLASS
    std::optional<std::string> wmClassClass;     // second string of WM_CLASS
    std::optional<Pid> pid;
    std::optional<std::string> executable;  // the process's executable path
    ProcessOrigin origin = {};              // what the process was started as
};

// Facts of a process by its id; none when it is gone.
using ProcessLookup = std::function<std::optional<ProcessFacts>(Pid)>;

// Finds the desktop entry that a window belongs to, trying in order: the application id
// the window declares; what its process was started as (the entry GIO launched as that
// very process, the Flatpak sandbox or the Snap it runs in); an entry whose
// StartupWMClass equals the window's class or instance (ignoring case); an entry id equal
// to the lower-cased class or instance, with or without a reverse-DNS prefix; a shown
// entry whose program is the process's executable, unless that is an interpreter or a
// launcher; and last, the processes we launched ourselves.
class AppMatcher {
public:
    explicit AppMatcher(std::vector<DesktopEntryFacts> entries);

    std::optional<std::string> match(const WindowFacts& window) const;
    // A process without windows of its own: what it was started as, its program or our
    // launch of it; else it is a helper of the nearest ancestor so known, and last of the
    // entry a launch it descends from names.
    std::optional<std::string> matchWindowless(const ProcessFacts& process, const ProcessLookup& lookup) const;

    void rememberLaunch(Pid pid, std::string entryId);
    void forgetLaunch(Pid pid);

private:
    const DesktopEntryFacts* byId(const std::string& id) const;
    const DesktopEntryFacts* byOrigin(const ProcessOrigin& origin, std::optional<Pid> pid) const;
    const DesktopEntryFacts* byLaunchedFile(const std::string& file) const;
    const DesktopEntryFacts* bySnap(const std::string& snap) const;
    const DesktopEntryFacts* byStartupClass(const WindowFacts& window) const;
    const DesktopEntryFacts* byClassName(const WindowFacts& window) const;
    const DesktopEntryFacts* byExecutable(const std::optional<std::string>& executable) const;
    // What the process alone tells, without windows.
    std::optional<std::string> byProcess(const ProcessFacts& process) const;
    std::optional<std::string> byLaunch(std::optional<Pid> pid) const;

    std::vector<DesktopEntryFacts> entries_;
    std::map<Pid, std::string> launches_;
};

}  // namespace quillbern
