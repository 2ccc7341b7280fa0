#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "core/platform/Launcher.h"

namespace quillbern {

// Records what it was asked to open. An item opens only with the default application a
// test gave it. Launches stay pending until the test completes them,
// at once, later, or from another thread.
class SimLauncher final : public Launcher {
public:
    struct Launch {
        Path appPath;
        bool activate;
        std::function<void(Result<void>)> done;
    };
    struct OpenWith {
        std::vector<Path> files;
        Path appPath;
    };

    void launch(const Path& appPath, bool activate, std::function<void(Result<void>)> done) override;
    void openWith(const std::vector<Path>& files, const Path& appPath) override;
    bool openSystemSettings(SystemSettingsPage page) override;
    bool canOpenSystemSettings(SystemSettingsPage) const override { return opensPages_; }
    // Opens what has a default application (setApps); records every request.
    bool open(const Path& path) override;
    bool openUrl(std::string_view url) override;
    void reveal(const std::vector<Path>& paths) override;
    std::optional<InstalledApp> defaultAppFor(const Path& path) const override;
    std::vector<InstalledApp> appsFor(const Path& path) const override;

    // Reports the outcome of the index-th launch; any thread.
    void complete(std::size_t index, Result<void> outcome);
    std::vector<Path> launchedPaths() const;
    const std::vector<OpenWith>& opened() const { return opened_; }

    // The applications for one item: its default, if any, and all that open it.
    void setApps(const Path& path, std::optional<InstalledApp> defaultApp, std::vector<InstalledApp> all);
    // Items `open` handed to their default application.
    const std::vector<Path>& openedDocuments() const { return documents_; }

    void setOpensPages(bool opens) { opensPages_ = opens; }
    void setOpensUrls(bool opens) { opensUrls_ = opens; }
    // Paths and URLs asked to open, in order.
    const std::vector<std::string>& openedLocations() const { return openedLocations_; }
    const std::vector<std::vector<Path>>& revealed() const { return revealed_; }
    const std::vector<SystemSettingsPage>& openedPages() const { return openedPages_; }

private:
    mutable std::mutex mutex_;
    std::vector<Launch> launches_;
    std::vector<OpenWith> opened_;
    bool opensPages_ = true;
    struct Apps {
        std::optional<InstalledApp> defaultApp;
        std::vector<InstalledApp> all;
    };
    std::map<Path, Apps> apps_;
    std::vector<Path> documents_;
    std::vector<SystemSettingsPage> openedPages_;
    bool opensUrls_ = true;
    std::vector<std::string> openedLocations_;
    std::vector<std::vector<Path>> revealed_;
};

}  // namespace quillbern
