#include "core/palettes/InstalledAppsScanner.h"

#include <algorithm>
#include <set>

namespace quillbern {

std::vector<InstalledApp> InstalledAppsScanner::scan(const AppCatalog& catalog, const TextServices& text) {
    std::vector<InstalledApp> apps;
    std::set<AppId> seen;
    for (InstalledApp& app : catalog.installedApps()) {
        if (seen.insert(app.appId).second) apps.push_back(std::move(app));
    }
    if (std::optional<InstalledApp> fileManager = catalog.fileManager();
        fileManager && !seen.contains(fileManager->appId))
        apps.push_back(std::move(*fileManager));
    std::ranges::stable_sort(
        apps, [&text](const InstalledApp& a, const InstalledApp& b) { return text.compare(a.name, b.name) < 0; });
    return apps;
}

}  // namespace quillbern
