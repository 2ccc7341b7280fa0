#pragma once

#include <string>

class QByteArray;
class QIODevice;
class QImage;

namespace quillbern {

// What the thumbnails are read from, both written by others: the files of the shared
// thumbnail cache, which any program of the user may write, and the pictures themselves.

// The picture of a cache file, when its `Thumb::URI` and `Thumb::MTime` texts say it was made
// from the file as it is now; a null image otherwise. Of the file's texts only those two are
// read, and a compressed one only as far as the value it must match; the picture is read
// without them.
QImage cachedThumbnail(const QByteArray& png, const std::string& uri, const std::string& mtime);

// The picture the device holds, at most `side` pixels either way; a null image when Qt
// cannot read it. A QFile lends its name's suffix to tell the picture's format. A PNG is
// read without its texts, and not at all when its chunks do not add up.
QImage thumbnailPicture(QIODevice& device, int side);

// The picture scaled down to fit `side`, in its colours even at one bit a pixel.
QImage fittedTo(QImage image, int side);

}  // namespace quillbern
