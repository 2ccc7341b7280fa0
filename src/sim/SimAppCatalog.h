#pragma once

#include <map>
#include <vector>

#include "core/platform/AppCatalog.h"

namespace quillbern {

// A table of installed applications that tests fill. An application's path is a folder
// ending in ".app"; a process belongs to the outermost such folder on its path.
class SimAppCatalog final : public AppCatalog {
public:
    std::optional<Path> pathForAppId(std::string_view appId) const override;
    std::optional<AppInfo> appInfo(const Path& appPath) const override;
    // An application folder: the extension "app", in that case.
    bool isApplicationPath(const Path& path) const override;
    std::optional<AppId> owningAppId(const RunningApp& app) const override;
    std::vector<InstalledApp> installedApps() const override;
    std::optional<InstalledApp> fileManager() const override { return fileManager_; }

    // `listed` false: found at its path, but unknown by its identity.
    void install(const Path& path, AppInfo info, bool listed = true);
    void uninstall(const Path& path);
    void setFileManager(std::optional<InstalledApp> app) { fileManager_ = std::move(app); }
    // How often owningAppId was asked.
    int ownerLookups() const { return ownerLookups_; }

private:
    struct Entry {
        AppInfo info;
        bool listed;
    };
    std::map<Path, Entry> apps_;
    std::optional<InstalledApp> fileManager_;
    mutable int ownerLookups_ = 0;
};

}  // namespace quillbern
