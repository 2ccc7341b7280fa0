#include "sim/SimAppCatalog.h"

#include <algorithm>
#include <cctype>

#include "core/foundation/Paths.h"
#include "core/foundation/Utf8.h"

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

std::vector<ListedApp> SimAppCatalog::installedApps() const {
    constexpr std::size_t kDeepestFolder = 3;
    struct Found {
        ListedApp app;
        std::size_t depth;
    };
    std::vector<Found> found;
    std::map<AppId, std::size_t> kept;  // identity -> index in found
    for (const Path& folder : folders_) {
        const std::string prefix = folder + "/";
        // The map's order is a walk in name order, but "a b" sorts before "a/b" while the
        // walk lists folder "a" first; ordering by components mends that.
        std::vector<std::pair<std::vector<std::string>, const std::pair<const Path, Entry>*>> below;
        for (const auto& item : apps_) {
            if (!item.second.listed || !item.first.starts_with(prefix)) continue;
            std::vector<std::string> components;
            for (std::size_t start = prefix.size(); start <= item.first.size();) {
                const std::size_t end = std::min(item.first.find('/', start), item.first.size());
                components.push_back(item.first.substr(start, end - start));
                start = end + 1;
            }
            below.emplace_back(std::move(components), &item);
        }
        std::ranges::sort(below, {}, &decltype(below)::value_type::first);
        for (const auto& [components, item] : below) {
            const std::size_t depth = components.size() - 1;
            const auto walked = [](const std::string& name) {
                return !name.starts_with('.') && !name.ends_with(".app");
            };
            const std::string& name = components.back();
            if (depth > kDeepestFolder || name.starts_with('.') || name.size() <= 4 || !name.ends_with(".app") ||
                !std::all_of(components.begin(), components.end() - 1, walked))
                continue;
            const AppInfo& info = item->second.info;
            ListedApp app{info.appId, info.bundleName.value_or(name.substr(0, name.size() - 4)), item->first};
            if (!isValidUtf8(*app.name)) app.name.reset();
            if (const auto earlier = kept.find(info.appId); earlier != kept.end()) {
                if (found[earlier->second].depth <= depth) continue;
                found[earlier->second] = {std::move(app), depth};
            } else {
                kept.emplace(info.appId, found.size());
                found.push_back({std::move(app), depth});
            }
        }
    }
    std::vector<ListedApp> apps;
    for (Found& each : found)
        apps.push_back(std::move(each.app));
    return apps;
}

void SimAppCatalog::install(const Path& path, AppInfo info, bool listed) {
    apps_.insert_or_assign(path, Entry{std::move(info), listed});
}

void SimAppCatalog::uninstall(const Path& path) {
    apps_.erase(path);
}

}  // namespace quillbern
