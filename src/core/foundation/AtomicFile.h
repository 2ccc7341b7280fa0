#pragma once

#include <filesystem>
#include <string_view>

#include "core/foundation/Result.h"

namespace quillbern {

// What becomes of a symbolic link found at the name of a file that is replaced.
enum class LinkAtName {
    // The link is replaced by the new file; what it points to is left as it was.
    replaced,
    // The link stays and the regular file at the end of its chain takes the contents, or is
    // made where the chain ends at nothing (a settings file kept in a folder of dotfiles,
    // relative links taken from their own folder). A link that ends at anything else (a
    // device, a FIFO, a folder) is replaced, so that is never written over.
    followedToRegularFile,
};

// Writes and flushes `contents` to a new temporary file of its own beside `target` and
// returns that file; `target` is untouched and, on failure, nothing is left behind. Its name,
// "<target>.tmp-<process id>-XXXXXX", tells which process wrote it; it is always a new file,
// never one that a link of that name points to.
Result<std::filesystem::path> writeTemporaryFile(const std::filesystem::path& target, std::string_view contents);

// Renames the written temporary file over `target`, in one step; removes it on failure.
Result<void> commitTemporaryFile(const std::filesystem::path& temporary, const std::filesystem::path& target);

// Both steps on the file that a save of `target` replaces. A crash at any moment leaves
// either the old file or the new one, whole, and writers at the same time never mix their
// contents: the last rename wins.
Result<void> writeFileAtomically(const std::filesystem::path& target, std::string_view contents, LinkAtName links);

// Removes the temporary files beside the file that a save of `target` replaces whose writers
// have ended without renaming them (a crash, a kill); those of running processes are left
// alone. Returns how many it removed.
int removeAbandonedTemporaryFiles(const std::filesystem::path& target, LinkAtName links);

}  // namespace quillbern
