#include "core/tiles/FolderListing.h"

#include <algorithm>
#include <numeric>

#include "core/foundation/Utf8.h"

namespace quillbern {

FolderListing listRecentItems(const FileSystem& files, const Path& folder, std::size_t limit) {
    FolderListing listing;
    Result<std::vector<DirEntry>> items = files.list(folder, true);
    if (!items) {
        listing.failed = true;
        return listing;
    }
    std::vector<DirEntry>& all = items.value();
    // Only the kept ones are sorted: the first `limit` of a stable sort, without sorting
    // a large folder whole.
    std::vector<std::size_t> order(all.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto newerFirst = [&all](std::size_t a, std::size_t b) {
        if (all[a].modified != all[b].modified) return all[a].modified > all[b].modified;
        return a < b;
    };
    const std::size_t kept = std::min(limit, order.size());
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(kept), order.end(), newerFirst);
    listing.truncated = all.size() > limit;
    listing.entries.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i) {
        DirEntry& item = all[order[i]];
        std::string& shown = item.displayName ? *item.displayName : item.name;
        listing.entries.push_back({
            .path = std::move(item.path),
            .name = isValidUtf8(shown) ? std::move(shown) : replacingInvalidUtf8(shown),
            .modified = item.modified,
        });
    }
    return listing;
}

}  // namespace quillbern
