#pragma once

#include <map>

#include "core/foundation/OwnerThread.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/AppCatalog.h"
#include "linux/freedesktop/DesktopEntryFacts.h"

typedef struct _GAppInfo GAppInfo;
typedef struct _GAppInfoMonitor GAppInfoMonitor;

namespace quillbern {

// Installed applications are the desktop entries of the XDG data directories, read
// through GIO; an application's path is its entry's file. GIO watches those folders and
// tells, on the main thread's GLib context (which Qt's event loop runs), when entries come
// and go. Main thread, which debug builds check, but for what reads GIO alone (the
// listings and entryFacts), which scans and the running applications' worker call.
class LinuxAppCatalog final : public AppCatalog {
public:
    LinuxAppCatalog();
    ~LinuxAppCatalog() override;
    LinuxAppCatalog(const LinuxAppCatalog&) = delete;
    LinuxAppCatalog& operator=(const LinuxAppCatalog&) = delete;

    // Each entry is read once, until the entries change.
    std::optional<Path> pathForAppId(std::string_view appId) const override;
    std::optional<AppInfo> appInfo(const Path& appPath) const override;
    // A desktop entry file, wherever it lies.
    bool isApplicationPath(const Path& path) const override;
    // A process belongs to the application it runs as; entries do not nest.
    std::optional<AppId> owningAppId(const RunningApp& app) const override;
    // Entries shown on this desktop only (GIO's precedence: the user's entry masks the
    // system's, Hidden removes it; NoDisplay, OnlyShowIn and NotShowIn are followed).
    std::vector<ListedApp> installedApps() const override;
    // The default application for folders (inode/directory).
    std::optional<ListedApp> fileManager() const override;
    // What every entry, NoDisplay ones too, offers for recognising and naming its windows.
    // Any thread: it touches nothing of a catalogue. It reads every entry, so readers keep
    // the answer, a value of their own, until the entries change.
    static std::vector<DesktopEntryFacts> entryFacts();
    // Entries were installed, changed or removed since the last reading.
    [[nodiscard]] Subscription onEntriesChanged(Task task);

private:
    // Every member is the main thread's; GIO tells of changes there too.
    OwnerThread owner_;
    GAppInfoMonitor* monitor_;
    Signal<> changed_;
    // Answers of pathForAppId, a missing entry too; reading an entry stalls the loop.
    mutable std::map<AppId, std::optional<Path>, std::less<>> paths_;
};

// The desktop-entry id of an entry file without ".desktop": its path below an XDG
// "applications" folder with slashes as hyphens, else its file name.
AppId desktopEntryId(const Path& entryPath);

// An application as the program lists it; none when it is no desktop entry on disk.
std::optional<InstalledApp> installedAppOf(GAppInfo* info);
// The application the desktop opens items of the content type with; none when it names none.
std::optional<InstalledApp> defaultAppForType(const char* contentType);

}  // namespace quillbern
