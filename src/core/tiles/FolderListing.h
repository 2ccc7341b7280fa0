#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Time.h"
#include "core/platform/FileSystem.h"

namespace quillbern {

// One item of a pinned folder's popover. Its path is its identity.
struct LocationEntry {
    // The bytes on disk, so it opens whatever its name.
    Path path;
    // What the popover shows: always UTF-8.
    std::string name;
    // Unknown dates sort after every known one.
    std::optional<WallTime> modified;
    bool operator==(const LocationEntry&) const = default;
};

// The most recently changed items of a folder.
struct FolderListing {
    std::vector<LocationEntry> entries;
    // The folder held more items than were kept.
    bool truncated = false;
    // The folder could not be read: refused, missing, or not a folder.
    bool failed = false;
};

// Lists the folder without hidden items and keeps its `limit` newest items, newest first;
// items of the same date, or of none, keep the order the listing gave. Any thread.
FolderListing listRecentItems(const FileSystem& files, const Path& folder, std::size_t limit);

}  // namespace quillbern
