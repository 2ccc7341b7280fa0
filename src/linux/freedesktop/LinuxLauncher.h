#pragma once

#include <memory>

#include "core/platform/Alerts.h"
#include "core/platform/Launcher.h"
#include "core/platform/RunningApps.h"

namespace quillbern {

class ChildProcess;

// Launches desktop entries through GIO, never by running their Exec line ourselves. An
// application that already runs is brought forward instead of started again. An entry from
// outside the application folders runs a program of anyone's choosing: as file managers
// have it, it is launched only when marked executable, and otherwise an alert, on the main
// loop, tells the user why nothing ran.
class LinuxLauncher final : public Launcher {
public:
    // Each process a launch started, held from the moment it exists, with the entry it started;
    // from any thread.
    using Started = std::function<void(std::shared_ptr<ChildProcess>, const Path&)>;

    // `started` is handed each process a launch starts; without it, nothing started is held.
    LinuxLauncher(RunningApps& apps, Alerts& alerts, Started started = {});

    // Reports before it returns; new windows come forward as the window manager decides.
    void launch(const Path& appPath, bool activate, std::function<void(Result<void>)> done) override;
    void openWith(const std::vector<Path>& files, const Path& appPath) override;
    // X11 desktops have no privacy pages for window access, capture or folders; startup
    // applications open in the running desktop's own page (KDE, Xfce, MATE, LXQt, and
    // GNOME where its tool is installed), and nowhere else.
    bool openSystemSettings(SystemSettingsPage page) override;
    bool canOpenSystemSettings(SystemSettingsPage page) const override;
    // By the content type: the name, and the first bytes where the name says nothing.
    bool open(const Path& path) override;
    bool openUrl(std::string_view url) override;
    // Through the file manager's own interface on the session bus when one answers it,
    // else by opening the folder that holds the first item; the answer comes on the main loop.
    void reveal(const std::vector<Path>& paths) override;
    std::optional<InstalledApp> defaultAppFor(const Path& path) const override;
    std::vector<InstalledApp> appsFor(const Path& path) const override;

private:
    // The entry as launchable; when it is not, the user is told, and the failure says why.
    Result<void> checkTrusted(const Path& entry);

    RunningApps& apps_;
    Alerts& alerts_;
    // Holds what a launch started and hands it on to `started`.
    std::function<void(Pid, const Path&)> started_;
};

}  // namespace quillbern
