#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/foundation/Uuid.h"
#include "core/model/PinnedItem.h"

namespace quillbern {

// Edits of an ordered item list that walk nested folders themselves. Identifiers are
// PinnedItem::id texts; every comparison is exact.

// Replaces every folder by its items, depth-first; the result holds no folder.
void flattenFolders(std::vector<PinnedItem>& items);

// What the load-time clean-up has met so far in one dock, across all its list levels.
struct SeenIdentifiers {
    // The app kept for each bundle identifier, to tell a repeat from an app that differs.
    std::unordered_map<std::string, PinnedApp> apps;
    std::unordered_set<Uuid> folderIDs;
    std::unordered_set<Uuid> locationIDs;
};

// Keeps one app per bundle identifier and unique folder and location identifiers across
// the dock (a repeated folder or location identifier is replaced by a fresh one), and one
// location per path and one Trash per list level. The first occurrence wins. Answers how
// many dropped items held what no kept one does (an app with another name or fallback
// path, a location with another name), whose stored form the caller must keep.
std::size_t dedupeItems(std::vector<PinnedItem>& items, SeenIdentifiers& seen, UuidSource& uuids);

// Moves the item `id` to the place of the item `target` in the same list level: toward the
// end it lands just after the target, toward the start just before. False when the two
// are not found in one level.
bool reorderItem(std::string_view id, std::string_view target, std::vector<PinnedItem>& items);

// Removes the first app with the bundle identifier, depth-first; an emptied folder stays.
std::optional<PinnedApp> removeApp(std::string_view bundleID, std::vector<PinnedItem>& items);

// Applies `edit` to the list itself (no folder given) or to the items of the folder with
// that identifier, wherever it is nested. False, with nothing edited, when no folder has it.
bool mutateContainer(const std::optional<Uuid>& ofFolder, std::vector<PinnedItem>& items,
                     const std::function<void(std::vector<PinnedItem>&)>& edit);

}  // namespace quillbern
