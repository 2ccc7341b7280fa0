#pragma once

#include "core/platform/FileSystem.h"

namespace quillbern {

// The local file system. `isDirectory` counts links to folders as folders; a listing never
// follows links. There are no packages, and no names of its own beside the file names.
// Hidden items are those file managers hide: names beginning with "." and the names that
// the folder's ".hidden" file lists, one a line. The user's folders come from the XDG user
// directories (`user-dirs.dirs` in $XDG_CONFIG_HOME), read afresh on every call.
class LinuxFileSystem final : public FileSystem {
public:
    bool exists(const Path& path) const override;
    bool isDirectory(const Path& path) const override;
    // The file name as the desktop shows it, valid UTF-8 whatever the bytes on disk.
    std::string displayName(const Path& path) const override;
    Result<std::vector<DirEntry>> list(const Path& folder, bool skipHidden) const override;
    // None when the entry is missing (the Desktop then defaults to ~/Desktop, as GLib has
    // it), when it is the home folder itself (the desktop's way of switching it off), and
    // when it is not a folder.
    // The Trash is the freedesktop one in $XDG_DATA_HOME, its folders made when missing.
    std::optional<Path> userDirectory(UserDirectory which) const override;
    // The user's Trash, or a volume's ($topdir/.Trash/$uid, $topdir/.Trash-$uid), however the
    // path is spelled: through links, the real path of a linked home, doubled slashes.
    bool isInTrash(const Path& path) const override;
    // GIO's, which keeps to the freedesktop Trash: the Trash of the item's own file system,
    // and a record whose path is encoded so that any file manager puts back the exact name.
    Result<void> moveToTrash(const Path& path) override;
};

}  // namespace quillbern
