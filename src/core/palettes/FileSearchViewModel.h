#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Time.h"
#include "core/palettes/FileSearchState.h"

namespace quillbern {

// What the file palette shows under its field; the first that holds decides.
enum class FileListContent {
    // The folder shown refused to be read, also while a query is typed.
    denied,
    // A search found nothing and no index is being built.
    noMatch,
    // The search results, perhaps none yet while the index is built.
    results,
    // A folder's listing is on its way.
    loading,
    // The level shown, cut to its first 200.
    level,
    // The folder shown has nothing in it.
    empty,
};

FileListContent fileListContent(const FileSearchState& state);

// Everything that changes the palette's height or rows: the paths of the rows shown, what
// shows (`fileListContent`), the building row, the breadcrumb and the level's total. Never
// the query, the selection, the hover or the dates, so moving through the list or typing
// within the same results never measures the panel again.
std::vector<std::string> fileShapeSignature(const FileSearchState& state);

// The date a row shows: only a file's, when it has one and the row has no caption.
std::optional<std::string> fileRowDate(const FileEntry& entry, const std::optional<std::string>& caption,
                                       const TextServices& text, WallTime now);

// "Showing 200 of 250 items" under a level that was cut; none otherwise.
std::optional<std::string> fileCountFooter(const FileSearchState& state);

}  // namespace quillbern
