#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "core/platform/PictureReader.h"
#include "core/platform/Thumbnailer.h"

namespace quillbern {

// Thumbnails as the desktop shares them: the freedesktop thumbnail cache
// ($XDG_CACHE_HOME/thumbnails), whose pictures count only while their `Thumb::URI` and
// `Thumb::MTime` match the file; an image the picture reader can read is scaled there and
// stored for the next reader, written whole or not at all, readable by the user alone. Other
// files have a thumbnail only where another program stored one. A picture the reader gave up
// on, or lost, is not tried again while the file stays as it is.
class LinuxThumbnailer final : public Thumbnailer {
public:
    // Each picture's time in the reader, stored or not: a photograph of the largest size
    // read takes a fraction of it.
    static constexpr Duration kMostReadingTime = 2;

    explicit LinuxThumbnailer(std::unique_ptr<PictureReader> reader);

    ImageHandle thumbnail(const Path& file, int sidePx) const override;
    void rest() const override;

    // The cache's folder of that size ("normal", "large", ...) and the picture's file in it.
    static std::string cacheFile(const std::string& sizeFolder, const std::string& uri);

private:
    // The reader's answer; a picture given up is noted under `key`.
    PictureRead read(const PictureAsk& ask, const std::string& key) const;

    mutable std::mutex mutex_;
    std::unique_ptr<PictureReader> reader_;
    // The files, with their change times, whose pictures were given up.
    mutable std::set<std::string> givenUp_;
};

}  // namespace quillbern
