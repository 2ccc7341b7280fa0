#pragma once

#include <filesystem>
#include <string_view>

#include "core/foundation/Result.h"

namespace quillbern {

// The file that `path` stands for: when it is a symbolic link, the end of its chain of
// links (each relative one taken from its own folder), existing or not; `path` otherwise.
Result<std::filesystem::path> finalTarget(const std::filesystem::path& path);

// Writes and flushes `contents` to a new temporary file of its own beside `target` and
// returns that file; `target` is untouched and, on failure, nothing is left behind. Its name,
// "<target>.tmp-<process id>-XXXXXX", tells which process wrote it.
Result<std::filesystem::path> writeTemporaryFile(const std::filesystem::path& target, std::string_view contents);

// Renames the written temporary file over `target`, in one step; removes it on failure.
Result<void> commitTemporaryFile(const std::filesystem::path& temporary, const std::filesystem::path& target);

// Both steps on the final target of `target`, so a symbolic link stays one and the file
// it names takes the contents. A crash at any moment leaves either the old file or the
// new one, whole, and writers at the same time never mix their contents: the last
// rename wins.
Result<void> writeFileAtomically(const std::filesystem::path& target, std::string_view contents);

// Removes the temporary files beside the final target of `target` whose writers have ended
// without renaming them (a crash, a kill); those of running processes are left alone. Returns
// how many it removed.
int removeAbandonedTemporaryFiles(const std::filesystem::path& target);

}  // namespace quillbern
