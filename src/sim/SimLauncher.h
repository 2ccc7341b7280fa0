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

    // Reports the outcome of the index-th launch; any thread.
    void complete(std::size_t index, Result<void> outcome);
    std::vector<Path> launchedPaths() const;
    const std::vector<OpenWith>& opened() const { return opened_; }

    void setOpensPages(bool opens) { opensPages_ = opens; }
    const std::vector<SettingsPage>& openedPages() const { return openedPages_; }

private:
    mutable std::mutex mutex_;
    std::vector<Launch> launches_;
    std::vector<OpenWith> opened_;
    bool opensPages_ = true;
    std::vector<SettingsPage> openedPages_;
};

}  // namespace quillbern
