#pragma once

#include "core/platform/AppCatalog.h"
#include "linux/freedesktop/DesktopEntryFacts.h"

namespace quillbern {

// Installed applications are the desktop entries of the XDG data directories, read
// through GIO; an application's path is its entry's file.
class LinuxAppCatalog final : public AppCatalog {
public:
    std::optional<Path> pathForAppId(std::string_view appId) const override;
    std::optional<AppInfo> appInfo(const Path& appPath) const override;
    // A process belongs to the application it runs as; entries do not nest.
    std::optional<AppId> owningAppId(const RunningApp& app) const override;
    // Visible entries only: NoDisplay and Hidden ones are left out.
    std::vector<InstalledApp> installedApps() const override;
    // What every entry, NoDisplay ones too, offers for recognising its windows. Any thread.
    std::vector<DesktopEntryFacts> entryFacts() const;
};

// The desktop-entry id of an entry file without ".desktop": its path below an XDG
// "applications" folder with slashes as hyphens, else its file name.
AppId desktopEntryId(const Path& entryPath);

}  // namespace quillbern
