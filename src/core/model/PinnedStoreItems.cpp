#include <algorithm>
#include <filesystem>

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "core/foundation/Paths.h"
#include "core/foundation/Utf8.h"
#include "core/model/PinnedItemList.h"
#include "core/model/PinnedStore.h"

namespace quillbern {

namespace {

bool isLocationAt(const PinnedItem& item, const std::string& normalized) {
    const PinnedLocation* location = item.location();
    return location && normalizedPath(location->path) == normalized;
}

// Removes the top-level items of that kind with that identifier; true when any went.
template <class Payload>
bool removeTopLevel(std::vector<PinnedItem>& items, const Uuid& id) {
    return std::erase_if(items, [&id](const PinnedItem& item) {
               const auto* payload = std::get_if<Payload>(&item.value());
               return payload && payload->id == id;
           }) > 0;
}

// The file name without its extension, for an application that names itself nothing.
std::string fileStem(const Path& path) {
    return std::filesystem::path(normalizedPath(path)).stem().string();
}

}  // namespace

std::vector<Profile> PinnedStore::visibleProfiles() const {
    std::vector<Profile> visible;
    std::ranges::copy_if(profiles_, std::back_inserter(visible),
                         [](const Profile& p) { return p.isVisible && p.isEnabled; });
    return visible;
}

bool PinnedStore::isPinned(std::string_view bundleID, const Uuid& profileID) const {
    const Profile* dock = findProfile(profileID);
    return dock &&
           std::ranges::any_of(dock->allApps(), [bundleID](const PinnedApp& a) { return a.bundleID == bundleID; });
}

bool PinnedStore::hasLocation(std::string_view path, const Uuid& profileID) const {
    const Profile* dock = findProfile(profileID);
    const std::string normalized = normalizedPath(path);
    return dock && std::ranges::any_of(dock->items, [&](const PinnedItem& i) { return isLocationAt(i, normalized); });
}

bool PinnedStore::hasTrash(const Uuid& profileID) const {
    const Profile* dock = findProfile(profileID);
    return dock && std::ranges::any_of(dock->items, [](const PinnedItem& i) { return i.trash() != nullptr; });
}

void PinnedStore::mutateItems(const Uuid& profileID, const std::optional<std::string>& undoLabel,
                              const ItemEdit& edit) {
    Profile* dock = find(profileID);
    if (!dock) return;
    std::vector<Profile> snapshot = undoLabel ? profiles_ : std::vector<Profile>();
    std::vector<PinnedItem> items = dock->items;
    if (!edit(items)) return;
    dock->items = std::move(items);
    profilesChanged.emit();
    if (undoLabel) setUndoableRemoval(UndoableRemoval{*undoLabel, std::move(snapshot)});
    save(undoLabel.has_value());
    call(onContentChange);
}

void PinnedStore::pin(const std::string& bundleID, const std::string& name,
                      const std::optional<std::string>& fallbackPath, const Uuid& profileID,
                      const std::optional<Uuid>& folderID) {
    if (!isValidUtf8(bundleID) || !isValidUtf8(name) || (fallbackPath && !isValidUtf8(*fallbackPath))) return;
    if (isPinned(bundleID, profileID)) return;
    const PinnedItem app = PinnedApp{bundleID, name, fallbackPath};
    mutateItems(profileID, std::nullopt, [&](std::vector<PinnedItem>& items) {
        const auto append = [&app](std::vector<PinnedItem>& list) { list.push_back(app); };
        if (!mutateContainer(folderID, items, append)) append(items);
        return true;
    });
}

void PinnedStore::pinApp(const Path& appPath, const Uuid& profileID, const std::optional<Uuid>& folderID) {
    const auto info = catalog_.appInfo(appPath);
    if (!info) return;
    const std::string name =
        info->localizedDisplayName.value_or(info->displayName.value_or(info->bundleName.value_or(fileStem(appPath))));
    pin(info->appId, name, appPath, profileID, folderID);
}

void PinnedStore::pinLocation(const Path& path, const Uuid& profileID) {
    if (!isValidUtf8(path)) return;
    const std::string normalized = normalizedPath(path);
    if (hasLocation(normalized, profileID) || !files_.isDirectory(normalized)) return;
    const std::string name = files_.displayName(normalized);
    if (!isValidUtf8(name)) return;
    const PinnedItem location = PinnedLocation{uuids_.make(), name, normalized};
    mutateItems(profileID, std::nullopt, [&location](std::vector<PinnedItem>& items) {
        items.push_back(location);
        return true;
    });
}

void PinnedStore::pinTrash(const Uuid& profileID) {
    if (hasTrash(profileID)) return;
    mutateItems(profileID, std::nullopt, [this](std::vector<PinnedItem>& items) {
        items.push_back(PinnedTrash{uuids_.make()});
        return true;
    });
}

void PinnedStore::removeItem(const std::string& itemID, const Uuid& profileID, const std::string& undoLabel,
                             const ItemEdit& edit) {
    // The drag ends even when the item or its dock turn out not to exist.
    if (dragSession_ && dragSession_->itemID == itemID) setDragSession(std::nullopt);
    mutateItems(profileID, undoLabel, edit);
}

void PinnedStore::unpin(const std::string& bundleID, const Uuid& profileID) {
    removeItem(PinnedItem(PinnedApp{bundleID, {}, {}}).id(), profileID, tr("Put the app back"),
               [&bundleID](std::vector<PinnedItem>& items) { return removeApp(bundleID, items).has_value(); });
}

void PinnedStore::unpinTrash(const Uuid& trashID, const Uuid& profileID) {
    removeItem(PinnedItem(PinnedTrash{trashID}).id(), profileID, tr("Put the Trash tile back"),
               [&trashID](std::vector<PinnedItem>& items) { return removeTopLevel<PinnedTrash>(items, trashID); });
}

void PinnedStore::unpinLocation(const Uuid& locationID, const Uuid& profileID) {
    removeItem(
        PinnedItem(PinnedLocation{locationID, {}, {}}).id(), profileID, tr("Put the folder back"),
        [&locationID](std::vector<PinnedItem>& items) { return removeTopLevel<PinnedLocation>(items, locationID); });
}

void PinnedStore::move(const std::string& itemID, const std::string& targetID, const Uuid& profileID) {
    if (itemID == targetID) return;
    if (!dragSession_ || dragSession_->profileID != profileID || dragSession_->itemID != itemID) return;
    mutateItems(profileID, std::nullopt,
                [&](std::vector<PinnedItem>& items) { return reorderItem(itemID, targetID, items); });
}

void PinnedStore::relocateLocation(const Uuid& locationID, const Path& newPath, const Uuid& profileID) {
    if (!isValidUtf8(newPath)) return;
    const std::string normalized = normalizedPath(newPath);
    const std::string name = files_.displayName(normalized);
    if (!isValidUtf8(name)) return;
    mutateItems(profileID, std::nullopt, [&](std::vector<PinnedItem>& items) {
        const auto moving = std::ranges::find_if(items, [&locationID](const PinnedItem& item) {
            return item.location() && item.location()->id == locationID;
        });
        if (moving == items.end() || isLocationAt(*moving, normalized)) return false;
        const bool shownElsewhere = std::ranges::any_of(
            items, [&](const PinnedItem& item) { return &item != &*moving && isLocationAt(item, normalized); });
        if (shownElsewhere) {
            log("pinned folder not moved to ", escapedForLog(normalized), ": the dock already shows it");
            return false;
        }
        *moving = PinnedLocation{locationID, name, normalized};
        return true;
    });
}

}  // namespace quillbern
