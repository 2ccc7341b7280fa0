#pragma once

#include <optional>
#include <string>

#include "core/foundation/Time.h"
#include "core/platform/Types.h"

namespace quillbern {

// One file or folder of the file palette. Its path is its identity: selection,
// de-duplication and icons key on it.
struct FileEntry {
    // Normalised, and the bytes on disk, so the item opens even when its name is not UTF-8.
    Path path;
    // What the palette shows: always UTF-8, U+FFFD standing in for bytes that are not.
    std::string name;
    // Only a folder that is not a package; a link is never one.
    bool isFolder = false;
    // The last change of its content; absent when unknown, which sorts before every date.
    std::optional<WallTime> modified;

    const Path& id() const { return path; }
    bool operator==(const FileEntry&) const = default;
};

}  // namespace quillbern
