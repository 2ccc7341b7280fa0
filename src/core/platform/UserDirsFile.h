#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "core/platform/Types.h"

namespace quillbern {

// The user's folders as the XDG user directories name them in `user-dirs.dirs`, by key
// (XDG_DESKTOP_DIR, XDG_MUSIC_DIR, ...): quoted paths, absolute or starting with $HOME, with
// backslash escapes; the last line that names a key wins. The file is read only when it is
// a regular file, so a FIFO in its place holds nobody; one that cannot be read names none.
// Read here rather than through GLib, which would wait on such a FIFO for good.
using UserDirs = std::map<std::string, Path, std::less<>>;
UserDirs readUserDirsFile(const std::filesystem::path& file, const Path& home);

}  // namespace quillbern
