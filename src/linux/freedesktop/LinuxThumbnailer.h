#pragma once

#include <string>

#include "core/platform/Thumbnailer.h"

namespace quillbern {

// Thumbnails as the desktop shares them: the freedesktop thumbnail cache
// ($XDG_CACHE_HOME/thumbnails), whose pictures count only while their `Thumb::URI` and
// `Thumb::MTime` match the file; an image Qt can read is scaled and stored there for the
// next reader, written whole or not at all, readable by the user alone. Other files have
// a thumbnail only where another program stored one.
class LinuxThumbnailer final : public Thumbnailer {
public:
    ImageHandle thumbnail(const Path& file, int sidePx) const override;

    // The cache's folder of that size ("normal", "large", ...) and the picture's file in it.
    static std::string cacheFile(const std::string& sizeFolder, const std::string& uri);
};

}  // namespace quillbern
