#include "core/palettes/AppSearchState.h"

#include <algorithm>

#include "core/foundation/Localization.h"
#include "core/model/DockName.h"

namespace quillbern {

AppSearchState::AppSearchState(Ports ports, AppSearchIndex& index, PinnedStore& pinned)
    : ports_(ports), index_(index), pinned_(pinned) {
    indexChanged_ = index.changed.connect([this] { changed(); });
    profilesChanged_ = pinned.profilesChanged.connect([this] { changed(); });
    lastShape_ = shape();
}

std::vector<InstalledApp> AppSearchState::results() const {
    return AppSearchIndex::matches(ports_.text, query_, index_.apps(), kResultLimit);
}

std::optional<InstalledApp> AppSearchState::selectedApp() const {
    const std::vector<InstalledApp> found = results();
    if (found.empty()) return std::nullopt;
    if (selectedId_) {
        const auto selected = std::ranges::find(found, *selectedId_, &InstalledApp::appId);
        if (selected != found.end()) return *selected;
    }
    return found.front();
}

void AppSearchState::setQuery(std::string text) {
    if (text == query_) return;
    query_ = std::move(text);
    const std::vector<InstalledApp> found = results();
    selectedId_ = found.empty() ? std::nullopt : std::optional<AppId>(found.front().appId);
    changed();
}

void AppSearchState::move(int step) {
    const std::vector<InstalledApp> found = results();
    if (found.empty()) return;
    const auto selected = selectedId_ ? std::ranges::find(found, *selectedId_, &InstalledApp::appId) : found.end();
    const int current = selected == found.end() ? 0 : int(selected - found.begin());
    const int next = std::clamp(current + step, 0, int(found.size()) - 1);
    if (selectedId_ == found[std::size_t(next)].appId) return;
    selectedId_ = found[std::size_t(next)].appId;
    changed();
}

void AppSearchState::reconcile() {
    const std::vector<InstalledApp> found = results();
    if (selectedId_ && std::ranges::find(found, *selectedId_, &InstalledApp::appId) != found.end()) return;
    std::optional<AppId> first = found.empty() ? std::nullopt : std::optional<AppId>(found.front().appId);
    if (first == selectedId_) return;
    selectedId_ = std::move(first);
    changed();
}

ImageHandle AppSearchState::icon(const InstalledApp& app) {
    const auto cached = icons_.find(app.path);
    if (cached != icons_.end()) return cached->second;
    ImageHandle image = ports_.icons.appIcon(app.path);
    if (!image) image = ports_.icons.genericAppIcon();
    icons_.emplace(app.path, image);
    return image;
}

std::vector<Profile> AppSearchState::profilesContaining(const InstalledApp& app) const {
    std::vector<Profile> holding;
    for (const Profile& profile : pinned_.profiles()) {
        const std::vector<PinnedApp> apps = profile.allApps();
        if (std::ranges::any_of(apps, [&](const PinnedApp& pinned) { return pinned.bundleID == app.appId; }))
            holding.push_back(profile);
    }
    return holding;
}

AppSearchState::Content AppSearchState::content() const {
    if (ports_.text.trimmingHorizontalSpace(query_).empty()) return Content::hint;
    return results().empty() ? Content::noMatch : Content::results;
}

std::string AppSearchState::noMatchText() const {
    return trf("No apps match “%@”", query_);
}

std::string AppSearchState::badgeText(const InstalledApp& app) const {
    std::string text;
    for (const Profile& profile : profilesContaining(app)) {
        if (!text.empty()) text += ", ";
        text += nameInText(profile.name);
    }
    return text;
}

AppSearchState::Shape AppSearchState::shape() const {
    Shape shape{content(), {}};
    for (const InstalledApp& app : results())
        shape.results.push_back(app.appId);
    return shape;
}

bool AppSearchState::takeShapeChange() {
    Shape now = shape();
    if (now == lastShape_) return false;
    lastShape_ = std::move(now);
    return true;
}

}  // namespace quillbern
