#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "core/platform/Launcher.h"

namespace quillbern {

// Records what it was asked to open. Launches stay pending until the test completes them,
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
    bool openSystemSettings(SettingsPage page) override;
    // Opens what the test allowed; records every request.
    bool open(const Path& path) override;
    bool openUrl(std::string_view url) override;
    void reveal(const std::vector<Path>& paths) override;

    // Reports the outcome of the index-th launch; any thread.
    void complete(std::size_t index, Result<void> outcome);
    std::vector<Path> launchedPaths() const;
    const std::vector<OpenWith>& opened() const { return opened_; }

    void setOpensPages(bool opens) { opensPages_ = opens; }
    void setOpensUrls(bool opens) { opensUrls_ = opens; }
    // Paths and URLs asked to open, in order.
    const std::vector<std::string>& openedLocations() const { return openedLocations_; }
    const std::vector<std::vector<Path>>& revealed() const { return revealed_; }
    const std::vector<SettingsPage>& openedPages() const { return openedPages_; }

private:
    mutable std::mutex mutex_;
    std::vector<Launch> launches_;
    std::vector<OpenWith> opened_;
    bool opensPages_ = true;
    std::vector<SettingsPage> openedPages_;
    bool opensUrls_ = true;
    std::vector<std::string> openedLocations_;
    std::vector<std::vector<Path>> revealed_;
};

}  // namespace quillbern
