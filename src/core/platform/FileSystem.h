#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Result.h"
#include "core/foundation/Time.h"
#include "core/platform/Types.h"

namespace quillbern {

// One item of a folder as a listing gives it; a fact that could not be read is absent.
struct DirEntry {
    // The folder's path and the item's name: the bytes on disk, UTF-8 or not, so it opens.
    Path path;
    // The last component of the path, as stored.
    std::string name;
    // Never true for a symbolic link, which is an item of its own and never entered.
    std::optional<bool> isDirectory;
    // A folder that the desktop treats as one file.
    std::optional<bool> isPackage;
    // The last change of the item's content.
    std::optional<WallTime> modified;
    // The name a file manager shows, where the system has one of its own.
    std::optional<std::string> displayName;
};

// The user's folders that the desktop names; `trash` is the folder that holds the user's
// trashed items themselves.
enum class UserDirectory { home, desktop, documents, downloads, trash };

// Facts about files, and the Trash. Any thread.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const Path& path) const = 0;
    virtual bool isDirectory(const Path& path) const = 0;
    // The name a file manager shows for it.
    virtual std::string displayName(const Path& path) const = 0;
    // The items directly inside a folder, in the system's order, links not followed. A
    // folder that cannot be read (refused, missing, not a folder) is a failure, never an
    // empty list. With skipHidden, what file managers hide is left out.
    virtual Result<std::vector<DirEntry>> list(const Path& folder, bool skipHidden) const = 0;
    // Where the user keeps that folder; none when the desktop names none.
    virtual std::optional<Path> userDirectory(UserDirectory which) const = 0;
    // The path lies inside a Trash, the user's own or one of a mounted volume.
    virtual bool isInTrash(const Path& path) const = 0;
    // Moves the item into the Trash, where it can be put back from; the failure says why
    // in words for the user.
    virtual Result<void> moveToTrash(const Path& path) = 0;
};

}  // namespace quillbern
