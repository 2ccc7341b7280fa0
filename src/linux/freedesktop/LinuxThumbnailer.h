#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "core/platform/PictureReader.h"
#include "core/platform/Thumbnailer.h"

namespace quillbern {

// Thumbnails as the desktop shares them: the freedesktop thumbnail cache
// ($XDG_CACHE_HOME/thumbnails), whose pictures count only while their `Thumb::URI` and
// `Thumb::MTime` match the file; an image the picture reader can read is scaled there and
// stored for the next reader, written whole or not at all, readable by the user alone. Other
// files have a thumbnail only where another program stored one.
class LinuxThumbnailer final : public Thumbnailer {
public:
    explicit LinuxThumbnailer(std::unique_ptr<PictureReader> reader);

    Thumbnail thumbnail(const Path& file, int sidePx, Duration limit) const override;
    void rest() const override;
    // At the end: the thumbnail being made, and every later one, is given up at once. Any thread.
    void stop();

    // The cache's folder of that size ("normal", "large", ...) and the picture's file in it.
    static std::string cacheFile(const std::string& sizeFolder, const std::string& uri);

private:
    mutable std::mutex mutex_;
    std::unique_ptr<PictureReader> reader_;
};

}  // namespace quillbern
