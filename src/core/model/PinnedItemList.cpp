#include "core/model/PinnedItemList.h"

#include <algorithm>

namespace quillbern {

namespace {

void appendFlattened(std::vector<PinnedItem>&& items, std::vector<PinnedItem>& out) {
    for (PinnedItem& item : items) {
        if (PinnedFolder* folder = item.folder()) {
            appendFlattened(std::move(folder->items), out);
        } else {
            out.push_back(std::move(item));
        }
    }
}

}  // namespace

void flattenFolders(std::vector<PinnedItem>& items) {
    std::vector<PinnedItem> flat;
    flat.reserve(items.size());
    appendFlattened(std::move(items), flat);
    items = std::move(flat);
}

std::size_t dedupeItems(std::vector<PinnedItem>& items, SeenIdentifiers& seen, UuidSource& uuids) {
    // The name kept for each path of this level.
    std::unordered_map<std::string, std::string> pathsOfThisLevel;
    bool trashSeen = false;
    std::size_t lost = 0;
    std::vector<PinnedItem> kept;
    kept.reserve(items.size());
    for (PinnedItem& item : items) {
        if (const PinnedApp* app = item.app()) {
            const auto [first, isNew] = seen.apps.try_emplace(app->bundleID, *app);
            if (isNew) {
                kept.push_back(std::move(item));
            } else if (first->second != *app) {
                ++lost;
            }
        } else if (PinnedFolder* folder = item.folder()) {
            if (!seen.folderIDs.insert(folder->id).second) {
                folder->id = uuids.make();
                seen.folderIDs.insert(folder->id);
            }
            lost += dedupeItems(folder->items, seen, uuids);
            kept.push_back(std::move(item));
        } else if (const PinnedLocation* location = item.location()) {
            const auto [first, isNew] = pathsOfThisLevel.try_emplace(location->path, location->name);
            if (!isNew) {
                if (first->second != location->name) ++lost;
                continue;
            }
            if (seen.locationIDs.insert(location->id).second) {
                kept.push_back(std::move(item));
            } else {
                PinnedLocation renewed{uuids.make(), location->name, location->path};
                seen.locationIDs.insert(renewed.id);
                kept.push_back(std::move(renewed));
            }
        } else if (!trashSeen) {
            trashSeen = true;
            kept.push_back(std::move(item));
        }
    }
    items = std::move(kept);
    return lost;
}

bool reorderItem(std::string_view id, std::string_view target, std::vector<PinnedItem>& items) {
    const auto position = [&items](std::string_view wanted) {
        return std::ranges::find_if(items, [wanted](const PinnedItem& item) { return item.id() == wanted; });
    };
    const auto from = position(id);
    const auto to = position(target);
    if (from != items.end() && to != items.end()) {
        if (from == to) return true;
        const auto toIndex = to - items.begin();
        PinnedItem moving = std::move(*from);
        items.erase(from);
        items.insert(items.begin() + toIndex, std::move(moving));
        return true;
    }
    for (PinnedItem& item : items) {
        if (PinnedFolder* folder = item.folder(); folder && reorderItem(id, target, folder->items)) return true;
    }
    return false;
}

std::optional<PinnedApp> removeApp(std::string_view bundleID, std::vector<PinnedItem>& items) {
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (const PinnedApp* app = it->app(); app && app->bundleID == bundleID) {
            PinnedApp removed = *app;
            items.erase(it);
            return removed;
        }
        if (PinnedFolder* folder = it->folder()) {
            if (auto removed = removeApp(bundleID, folder->items)) return removed;
        }
    }
    return std::nullopt;
}

bool mutateContainer(const std::optional<Uuid>& ofFolder, std::vector<PinnedItem>& items,
                     const std::function<void(std::vector<PinnedItem>&)>& edit) {
    if (!ofFolder) {
        edit(items);
        return true;
    }
    for (PinnedItem& item : items) {
        PinnedFolder* folder = item.folder();
        if (!folder) continue;
        if (folder->id == *ofFolder) {
            edit(folder->items);
            return true;
        }
        if (mutateContainer(ofFolder, folder->items, edit)) return true;
    }
    return false;
}

}  // namespace quillbern
