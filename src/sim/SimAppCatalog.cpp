#include "sim/SimAppCatalog.h"

#include <cctype>

#include "core/foundation/Paths.h"

namespace quillbern {

namespace {

bool endsWithAppIgnoringCase(std::string_view component) {
    constexpr std::string_view kSuffix = ".app";
    if (component.size() < kSuffix.size()) return false;
    const auto tail = component.substr(component.size() - kSuffix.size());
    for (std::size_t i = 0; i < kSuffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != kSuffix[i]) return false;
    }
    return true;
}

// The path up to and including its first component that ends in ".app".
std::optional<Path> outermostAppFolder(const Path& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start && endsWithAppIgnoringCase(std::string_view(path).substr(start, end - start))) {
            return path.substr(0, end);
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Path> SimAppCatalog::pathForAppId(std::string_view appId) const {
    for (const auto& [path, entry] : apps_) {
        if (entry.listed && entry.info.appId == appId) return path;
    }
    return std::nullopt;
}

std::optional<AppInfo> SimAppCatalog::appInfo(const Path& appPath) const {
    const auto found = apps_.find(appPath);
    return found == apps_.end() ? std::nullopt : std::optional<AppInfo>(found->second.info);
}

bool SimAppCatalog::isApplicationPath(const Path& path) const {
    const std::string name = lastPathComponent(path);
    return name.size() > 4 && name.ends_with(".app");
}

std::optional<AppId> SimAppCatalog::owningAppId(const RunningApp& app) const {
    ++ownerLookups_;
    if (!app.appPath) return std::nullopt;
    const auto folder = outermostAppFolder(*app.appPath);
    if (!folder) return std::nullopt;
    const auto info = appInfo(*folder);
    return info ? std::optional<AppId>(info->appId) : std::nullopt;
}

std::vector<InstalledApp> SimAppCatalog::installedApps() const {
    std::vector<InstalledApp> apps;
    for (const auto& [path, entry] : apps_) {
        if (entry.listed) apps.push_back({entry.info.appId, entry.info.bundleName.value_or(entry.info.appId), path});
    }
    return apps;
}

void SimAppCatalog::install(const Path& path, AppInfo info, bool listed) {
    apps_.insert_or_assign(path, Entry{std::move(info), listed});
}

void SimAppCatalog::uninstall(const Path& path) {
    apps_.erase(path);
}

}  // namespace quillbern
