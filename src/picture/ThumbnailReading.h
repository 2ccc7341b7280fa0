#pragma once

#include <string>

class QByteArray;
class QImage;

namespace quillbern {

// The files of the shared thumbnail cache, which any program of the user may write; the
// pictures themselves are read as every picture of others (picture/PictureReading).

// The largest thumbnails the standard names.
inline constexpr int kMostThumbnailSide = 1024;

// The picture of a cache file, when its `Thumb::URI` and `Thumb::MTime` texts say it was made
// from the file as it is now; a null image otherwise. Of the file's texts only those two are
// read, and a compressed one only as far as the value it must match; the picture is read
// without them.
QImage cachedThumbnail(const QByteArray& png, const std::string& uri, const std::string& mtime);

}  // namespace quillbern
