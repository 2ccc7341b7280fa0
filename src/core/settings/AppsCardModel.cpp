#include "core/settings/AppsCardModel.h"

#include <algorithm>
#include <memory>

#include "core/foundation/Localization.h"
#include "core/foundation/Paths.h"
#include "core/foundation/Utf8.h"

namespace quillbern {

namespace {

bool holds(const Profile& profile, const std::string& bundleID) {
    const std::vector<PinnedApp> apps = profile.allApps();
    return std::ranges::any_of(apps, [&bundleID](const PinnedApp& app) { return app.bundleID == bundleID; });
}

std::size_t itemCount(const PinnedStore& pinned, const Uuid& profileID) {
    const Profile* profile = pinned.findProfile(profileID);
    return profile ? profile->items.size() : 0;
}

// A chosen path as the user knows it: its last component, readable even when it is not UTF-8.
std::string shownName(const Path& path) {
    const std::string name = lastPathComponent(path);
    return replacingInvalidUtf8(name.empty() ? path : name);
}

}  // namespace

AppsCardModel::AppsCardModel(Ports ports, Uuid profileID) : ports_(ports), profileID_(profileID) {
    storeChanged_ = ports_.pinned.profilesChanged.connect([this] { changed(); });
}

void AppsCardModel::setProfile(const Uuid& profileID) {
    if (profileID == profileID_) return;
    profileID_ = profileID;
    folderNote_.reset();
    changed();
}

void AppsCardModel::setInstalled(std::vector<InstalledApp> apps) {
    // Lowered once here, so that a typed letter only compares.
    loweredNames_.clear();
    loweredNames_.reserve(apps.size());
    for (const InstalledApp& app : apps)
        loweredNames_.push_back(ports_.text.lowercased(app.name));
    installed_ = std::move(apps);
    hasScanned_ = true;
    changed();
}

void AppsCardModel::setSearchText(std::string text) {
    if (text == searchText_) return;
    searchText_ = std::move(text);
    changed();
}

std::vector<InstalledApp> AppsCardModel::results() const {
    std::vector<InstalledApp> found;
    if (searchText_.empty()) return found;
    const std::string query = ports_.text.lowercased(searchText_);
    for (std::size_t i = 0; i < installed_.size() && found.size() < kResultLimit; ++i) {
        if (loweredNames_[i].find(query) != std::string::npos) found.push_back(installed_[i]);
    }
    return found;
}

std::optional<std::string> AppsCardModel::statusLine() const {
    if (!hasScanned_) return tr("Reading your applications…");
    if (!searchText_.empty() && results().empty()) return trf("No apps match “%@”", searchText_);
    return std::nullopt;
}

bool AppsCardModel::isPinned(const InstalledApp& app) const {
    return ports_.pinned.isPinned(app.appId, profileID_);
}

void AppsCardModel::pin(const InstalledApp& app) {
    if (const Profile* profile = ports_.pinned.findProfile(profileID_); profile && holds(*profile, app.appId)) return;
    ports_.pinned.pin(app.appId, app.name, app.path, profileID_);
}

void AppsCardModel::submit() {
    for (const InstalledApp& app : results()) {
        const Profile* profile = ports_.pinned.findProfile(profileID_);
        if (profile && holds(*profile, app.appId)) continue;
        pin(app);
        return;
    }
}

bool AppsCardModel::canAddTrash() const {
    return !ports_.pinned.hasTrash(profileID_);
}

void AppsCardModel::addTrash() {
    if (!ports_.pinned.hasTrash(profileID_)) ports_.pinned.pinTrash(profileID_);
}

void AppsCardModel::addFolders() {
    FolderPickerOptions options{
        // TRANSLATORS: the title of the folder chooser that "Add a folder…" opens.
        .title = tr("Choose Folders to Pin"),
        .startDirectory = ports_.files.userDirectory(UserDirectory::downloads),
        // TRANSLATORS: the button of the folder chooser that pins the chosen folders to the dock.
        .prompt = tr("Pin"),
        .allowsMultiple = true,
    };
    // The folders go to the dock the chooser was opened for, whichever is shown by then.
    ports_.folderPicker.chooseFolders(
        options, lifetime_.guard([this, profileID = profileID_](std::optional<std::vector<Path>> paths) {
            if (paths) pinChosen(profileID, *paths);
        }));
}

void AppsCardModel::pinChosen(const Uuid& profileID, const std::vector<Path>& paths) {
    std::vector<std::string> notPinned;
    for (const Path& path : paths) {
        if (!ports_.pinned.findProfile(profileID)) return;
        // Already shown: passed over without a word.
        if (isValidUtf8(path) && ports_.pinned.hasLocation(normalizedPath(path), profileID)) continue;
        const std::size_t before = itemCount(ports_.pinned, profileID);
        ports_.pinned.pinLocation(path, profileID);
        if (itemCount(ports_.pinned, profileID) == before) notPinned.push_back("“" + shownName(path) + "”");
    }
    if (notPinned.empty()) {
        setFolderNote(std::nullopt);
        return;
    }
    std::string list;
    for (const std::string& name : notPinned)
        list += (list.empty() ? "" : ", ") + name;
    setFolderNote(
        // TRANSLATORS: %@ is one folder's name, or several names separated by commas.
        trn("%@ could not be pinned: it is no longer there, is not a folder, or its name is not UTF-8.",
            "%@ could not be pinned: they are no longer there, are not folders, or their names are not UTF-8.",
            static_cast<long long>(notPinned.size()), list));
}

void AppsCardModel::setFolderNote(std::optional<std::string> note) {
    if (note == folderNote_) return;
    folderNote_ = std::move(note);
    changed();
}

ImageHandle AppsCardModel::iconForPath(const Path& path) {
    if (const auto kept = iconCache_.find(path); kept != iconCache_.end()) return kept->second;
    ImageHandle icon = ports_.icons.appIcon(path);
    if (!icon) icon = ports_.icons.genericAppIcon();
    iconCache_.emplace(path, icon);
    return icon;
}

ImageHandle AppsCardModel::iconForApp(const PinnedApp& app) {
    if (const auto kept = iconCache_.find(app.bundleID); kept != iconCache_.end()) return kept->second;
    ImageHandle icon = ports_.pinned.icon(app);
    if (icon) iconCache_.emplace(app.bundleID, icon);
    return icon;
}

}  // namespace quillbern
