#include "sim/SimLauncher.h"

namespace quillbern {

void SimLauncher::launch(const Path& appPath, bool activate, std::function<void(Result<void>)> done) {
    std::lock_guard lock(mutex_);
    launches_.push_back({appPath, activate, std::move(done)});
}

void SimLauncher::openWith(const std::vector<Path>& files, const Path& appPath) {
    opened_.push_back({files, appPath});
}

bool SimLauncher::openSystemSettings(SystemSettingsPage page) {
    openedPages_.push_back(page);
    return opensPages_;
}

bool SimLauncher::open(const Path& path) {
    openedLocations_.push_back(path);
    if (!defaultAppFor(path)) return false;
    documents_.push_back(path);
    return true;
}

bool SimLauncher::openUrl(std::string_view url) {
    openedLocations_.emplace_back(url);
    return opensUrls_;
}

void SimLauncher::reveal(const std::vector<Path>& paths) {
    revealed_.push_back(paths);
}

std::optional<InstalledApp> SimLauncher::defaultAppFor(const Path& path) const {
    const auto found = apps_.find(path);
    return found == apps_.end() ? std::nullopt : found->second.defaultApp;
}

std::vector<InstalledApp> SimLauncher::appsFor(const Path& path) const {
    const auto found = apps_.find(path);
    return found == apps_.end() ? std::vector<InstalledApp>() : found->second.all;
}

void SimLauncher::setApps(const Path& path, std::optional<InstalledApp> defaultApp, std::vector<InstalledApp> all) {
    apps_[path] = {std::move(defaultApp), std::move(all)};
}

void SimLauncher::complete(std::size_t index, Result<void> outcome) {
    std::function<void(Result<void>)> done;
    {
        std::lock_guard lock(mutex_);
        done = launches_.at(index).done;
    }
    done(std::move(outcome));
}

std::vector<Path> SimLauncher::launchedPaths() const {
    std::lock_guard lock(mutex_);
    std::vector<Path> paths;
    for (const Launch& launch : launches_)
        paths.push_back(launch.appPath);
    return paths;
}

}  // namespace quillbern
