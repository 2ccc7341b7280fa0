#pragma once

#include "core/platform/Types.h"

namespace quillbern {

// Pictures of applications and files, as the desktop shows them.
class Icons {
public:
    virtual ~Icons() = default;

    // The icon of the application whose entry is at `appPath`; null when it has none.
    virtual ImageHandle appIcon(const Path& appPath) const = 0;
    // The icon of the file or folder at `path`, by its type; null when there is none.
    virtual ImageHandle fileIcon(const Path& path) const = 0;
};

}  // namespace quillbern
