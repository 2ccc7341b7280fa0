#pragma once

#include <map>
#include <vector>

#include "core/platform/AppCatalog.h"

namespace quillbern {

// A table of installed applications that tests fill. An application's path is a folder
// ending in ".app"; a process belongs to the outermost such folder on its path.
// installedApps walks the application folders as a folder scan would: each folder in turn,
// its entries in name order, down to three folder levels below it; names starting with "."
// are skipped, ".app" is an application only in lower case and is never entered. Of one
// identity the copy fewest levels down counts, then the one met first.
class SimAppCatalog final : public AppCatalog {
public:
    std::optional<Path> pathForAppId(std::string_view appId) const override;
    std::optional<AppInfo> appInfo(const Path& appPath) const override;
    // An application folder: the extension "app", in that case.
    bool isApplicationPath(const Path& path) const override;
    std::optional<AppId> owningAppId(const RunningApp& app) const override;
    std::vector<ListedApp> installedApps() const override;
    std::optional<ListedApp> fileManager() const override { return fileManager_; }

    // `listed` false: found at its path, but unknown by its identity.
    void install(const Path& path, AppInfo info, bool listed = true);
    void uninstall(const Path& path);
    // The name shown is the bundle name, else the folder's name without ".app"; a bundle
    // name that is not UTF-8 stands for one that cannot be read.
    void setFileManager(std::optional<ListedApp> app) { fileManager_ = std::move(app); }
    // The folders installedApps walks, in order (at first "/apps").
    void setApplicationFolders(std::vector<Path> folders) { folders_ = std::move(folders); }
    // How often owningAppId was asked.
    int ownerLookups() const { return ownerLookups_; }

private:
    struct Entry {
        AppInfo info;
        bool listed;
    };
    std::map<Path, Entry> apps_;
    std::optional<ListedApp> fileManager_;
    std::vector<Path> folders_{"/apps"};
    mutable int ownerLookups_ = 0;
};

}  // namespace quillbern
