#include "core/model/InstalledAppsScanner.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "core/foundation/Log.h"
#include "core/foundation/Utf8.h"

namespace quillbern {

namespace {

bool isShowable(const ListedApp& app) {
    return app.name && isValidUtf8(*app.name) && isValidUtf8(app.appId) && isValidUtf8(app.path);
}

}  // namespace

std::vector<InstalledApp> InstalledAppsScanner::scan() const {
    std::vector<InstalledApp> apps;
    std::vector<Path> leftOut;
    std::set<AppId> seen;
    const auto take = [&](ListedApp& listed) {
        if (!isShowable(listed)) {
            leftOut.push_back(std::move(listed.path));
        } else if (seen.insert(listed.appId).second) {
            apps.push_back({std::move(listed.appId), std::move(*listed.name), std::move(listed.path)});
        }
    };
    for (ListedApp& listed : catalog_.installedApps())
        take(listed);
    if (std::optional<ListedApp> fileManager = catalog_.fileManager();
        fileManager && !seen.contains(fileManager->appId))
        take(*fileManager);
    std::ranges::stable_sort(
        apps, [this](const InstalledApp& a, const InstalledApp& b) { return text_.compare(a.name, b.name) < 0; });
    reportLeftOut(std::move(leftOut));
    return apps;
}

void InstalledAppsScanner::scanInBackground(Threads& threads, Answer answer) const {
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(answer));
        if (waiting_.size() > 1) return;
    }
    threads.runInBackground("quillbern.scan", [self = shared_from_this()] {
        std::vector<InstalledApp> apps = self->scan();
        std::vector<Answer> answers;
        {
            const std::lock_guard lock(self->mutex_);
            answers.swap(self->waiting_);
        }
        for (std::size_t i = 0; i + 1 < answers.size(); ++i)
            answers[i](apps);
        answers.back()(std::move(apps));
    });
}

void InstalledAppsScanner::reportLeftOut(std::vector<Path> paths) const {
    std::ranges::sort(paths);
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    {
        const std::lock_guard lock(mutex_);
        if (paths == reported_) return;
        reported_ = paths;
    }
    if (paths.empty()) return;
    std::ostringstream named;
    for (std::size_t i = 0; i < std::min(paths.size(), kLoggedPaths); ++i)
        named << (i ? ", " : "") << escapedForLog(paths[i]);
    if (paths.size() > kLoggedPaths) named << ", …";
    log(paths.size(), paths.size() == 1 ? " application entry was" : " application entries were",
        " left out: no readable name, or a name or file name that is not UTF-8: ", named.str());
}

}  // namespace quillbern
