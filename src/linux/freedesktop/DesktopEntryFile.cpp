#include "linux/freedesktop/DesktopEntryFile.h"

#include "core/foundation/RegularFile.h"

namespace quillbern {

namespace {

// Far more than any entry holds, with all its translations.
constexpr std::uint64_t kMaxEntryBytes = 16 << 20;

}  // namespace

DesktopAppInfo desktopEntryAt(const Path& path) {
    if (!RegularFile::open(path, kMaxEntryBytes)) return nullptr;
    return DesktopAppInfo(g_desktop_app_info_new_from_filename(path.c_str()));
}

}  // namespace quillbern
