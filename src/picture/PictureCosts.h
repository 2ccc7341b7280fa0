#pragma once

#include <QByteArrayView>
#include <QSize>
#include <QtGlobal>
#include <optional>

namespace quillbern {

// What decoding a picture costs in memory, told from its own headers before Qt's reader is
// handed it, for the formats whose reader holds more than the picture it returns or trusts
// a size that does not count. None when the headers cannot be trusted.

// A PNG's decoded pixels (eight bytes a pixel at 16 bits a channel, as Qt reads it), when its
// image data inflates no further than its rows need: libpng inflates the whole stream, and
// 1 MB of it can hold gigabytes of zeros past the last row.
std::optional<qint64> pngDecodeCost(QByteArrayView png);

// A JPEG's cost read at `decoded` pixels: libjpeg decodes a baseline picture at a fraction of
// its size, but holds every coefficient of the whole picture for a progressive one. `head`
// holds the file's start, up to its frame header.
std::optional<qint64> jpegDecodeCost(QByteArrayView head, QSize decoded);

// The largest of an ICO's pictures, each sized by its own header (a PNG's or a bitmap's),
// never by the directory, which may say 1 × 1 of a picture of 5600 × 5600.
std::optional<qint64> icoDecodeCost(QByteArrayView ico);

// An XPM's pixels, when its colours are few enough for an icon: the reader keeps a table of
// every colour its header claims.
std::optional<qint64> xpmDecodeCost(QByteArrayView head);

}  // namespace quillbern
