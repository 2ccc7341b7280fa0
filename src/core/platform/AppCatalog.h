#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/RunningApps.h"
#include "core/platform/Types.h"

namespace quillbern {

// An application installed on disk.
struct InstalledApp {
    AppId appId;
    std::string name;
    Path path;
    bool operator==(const InstalledApp&) const = default;
};

// An application as the catalogue lists it, before the core checks it: a name that could
// not be read (missing, or not UTF-8) is none, and the identity and path are the files' own
// bytes, which need not be UTF-8.
struct ListedApp {
    AppId appId;
    std::optional<std::string> name;
    Path path;
};

// What an application's files say about it; the caller chooses the name to show.
struct AppInfo {
    AppId appId;
    std::optional<std::string> localizedDisplayName;
    std::optional<std::string> displayName;
    std::optional<std::string> bundleName;
};

// The applications installed on disk. Main thread unless noted.
class AppCatalog {
public:
    virtual ~AppCatalog() = default;

    // Where the application with this identity is installed.
    virtual std::optional<Path> pathForAppId(std::string_view appId) const = 0;
    // None when the path is not an application or has no identity.
    virtual std::optional<AppInfo> appInfo(const Path& appPath) const = 0;
    // The path has an application's form (its name alone says so, nothing is read): a
    // dropped item with it is pinned as an application, never opened or pinned as a folder.
    virtual bool isApplicationPath(const Path& path) const = 0;
    // The outermost application the process belongs to; none when it belongs to no other.
    virtual std::optional<AppId> owningAppId(const RunningApp& app) const = 0;
    // Any thread; blocks while it reads. The applications to show, in the order of their
    // precedence: of two entries with one identity, the first is the one that counts.
    virtual std::vector<ListedApp> installedApps() const = 0;
    // Any thread. The desktop's file manager, whether listed or not; none when the desktop
    // names none.
    virtual std::optional<ListedApp> fileManager() const = 0;
};

}  // namespace quillbern
