#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/platform/Types.h"

namespace quillbern {

// What a folder watch reports, as bits: several may come in one report.
namespace FolderChange {
// An item was added to the folder, removed from it or renamed inside it.
inline constexpr std::uint32_t contentsChanged = 1;
// The folder itself was moved or given another name.
inline constexpr std::uint32_t renamed = 2;
// The folder itself was deleted.
inline constexpr std::uint32_t deleted = 4;
}  // namespace FolderChange

// One running watch of one folder. Destroying it ends the watch; what it holds of the
// folder is let go exactly once.
class FolderWatch {
public:
    virtual ~FolderWatch() = default;

    // Where the folder is now, followed across moves; none once it was deleted or its path
    // cannot be read.
    virtual std::optional<Path> currentPath() const = 0;
};

// Watches folders for changes of their items and for their own moves and deletion. Main
// thread.
class FolderEvents {
public:
    virtual ~FolderEvents() = default;

    // [main] Reports FolderChange bits until the watch is destroyed; after a rename or a
    // deletion nothing more comes. The callback may destroy the watch. Null when the
    // folder cannot be opened (missing, refused, not a folder).
    virtual std::unique_ptr<FolderWatch> watch(const Path& folder,
                                               std::function<void(std::uint32_t changes)> onChange) = 0;
};

}  // namespace quillbern
