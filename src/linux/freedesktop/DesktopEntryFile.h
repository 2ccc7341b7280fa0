#pragma once

#include <gio/gdesktopappinfo.h>
#include <memory>

#include "core/platform/Types.h"

namespace quillbern {

struct DesktopEntryDeleter {
    void operator()(GDesktopAppInfo* entry) const { g_object_unref(entry); }
};
using DesktopAppInfo = std::unique_ptr<GDesktopAppInfo, DesktopEntryDeleter>;

// The desktop entry in the file at `path`; none when it is no entry. GIO reads the file with
// an `open` that a FIFO in its place would hold for good, so it is handed only a regular file.
DesktopAppInfo desktopEntryAt(const Path& path);

}  // namespace quillbern
