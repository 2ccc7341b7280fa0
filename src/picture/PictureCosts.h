#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace quillbern {

// What decoding a picture costs in memory and work, told from its own headers and markers
// before Qt's reader is handed it, for the formats whose reader holds more than the picture
// it returns, trusts a size that does not count, or works without bound on a small file.
// None when the headers cannot be trusted.

// The work one file's reading may do, shared by every picture inside it (an ICO's, an
// SVG's), however many it holds: what the checks inflate, and the blocks libjpeg decodes
// scan by scan. Measured, one file of a megabyte held the reader for hours (an ICO
// of 65,535 entries, each of the same PNG of zeros inflated again) and one of 8 MB for
// minutes (a JPEG of 253,826 scans that say nothing). Each reading takes its share before
// it begins, so the work past the budget is never done.
class ReadingBudget {
public:
    // A picture at the memory bound's rows, and as much again for the rest of the file.
    static constexpr qint64 kMostInflatedBytes = 128 << 20;
    // Thirty-two scans of the largest progressive picture the memory bound admits (64 MiB
    // of coefficients, 128 bytes a block); libjpeg's own progression takes ten. A block of a
    // scan took 15 ns, so about a quarter of a second.
    static constexpr qint64 kMostJpegBlocks = 1 << 24;

    // Each takes that much of what is left; false, taking nothing, when less is left.
    bool inflate(qint64 bytes) { return take(inflatable_, bytes); }
    bool decodeJpegBlocks(qint64 blocks) { return take(jpegBlocks_, blocks); }

private:
    static bool take(qint64& left, qint64 amount);

    qint64 inflatable_ = kMostInflatedBytes;
    qint64 jpegBlocks_ = kMostJpegBlocks;
};

// More pictures than any icon's sizes and depths; Qt's reader reads the first, but its
// cost is told from the largest.
inline constexpr qsizetype kMostIcoEntries = 256;

// A PNG's decoded pixels (eight bytes a pixel at 16 bits a channel, four else), when its
// image data inflates no further than its rows need: libpng inflates the whole stream, and
// 1 MB of it can hold gigabytes of zeros past the last row. The rows are taken from the
// budget before any of them is inflated.
std::optional<qint64> pngDecodeCost(QByteArrayView png, ReadingBudget& budget);

// A JPEG's markers, read a part at a time as a file is, so that a file need not be held
// whole: its frame, and how many blocks libjpeg decodes over all its scans.
class JpegMarkers {
public:
    void read(QByteArrayView part);

    // What libjpeg and Qt's reader hold beside the picture of `decoded` pixels they make:
    // libjpeg's own at the eighths it scales by, and for a progressive picture every
    // coefficient of the whole, held before the first scan. None without a frame before the
    // first scan.
    std::optional<qint64> heldBeside(QSize decoded) const;

    // Every block of each scan's components, and of the frame once more for the output.
    qint64 blocksDecoded() const;

private:
    struct Component {
        int id = 0;
        int horizontal = 1;
        int vertical = 1;
    };
    enum class State { marker, markerType, length, segment, entropy, entropyMarker, end };

    void segmentRead();
    qint64 blocksOf(const Component& component) const;

    State state_ = State::marker;
    bool started_ = false;
    unsigned char type_ = 0;
    int lengthBytes_ = 0;
    qsizetype left_ = 0;
    QByteArray segment_;
    bool framed_ = false;
    bool progressive_ = false;
    qint64 width_ = 0;
    qint64 height_ = 0;
    std::vector<Component> components_;
    qint64 scanBlocks_ = 0;
};

// The largest of an ICO's pictures, each sized by its own header (a PNG's or a bitmap's),
// never by the directory, which may say 1 × 1 of a picture of 5600 × 5600; none beyond
// kMostIcoEntries of them.
std::optional<qint64> icoDecodeCost(QByteArrayView ico, ReadingBudget& budget);

// A GIF's screen, as its header names it: Qt's reader makes its picture as large, whatever
// the size of the frame it tells.
std::optional<QSize> gifScreen(QByteArrayView head);

// Whether an XPM's header names a picture with colours few enough for an icon: the reader
// keeps a table of every colour its header claims.
bool xpmHeaderWithinBounds(QByteArrayView head);

// What Qt's reader makes of a picture of that size in that format (32 bits a pixel where
// the reader does not tell), and what fitting it within `side` adds: smooth scaling takes
// premultiplied pixels of 32 or 64 bits, into which a picture of as many bits changes in
// place, and any other is copied.
qint64 pictureBytes(QImage::Format format, QSize size, int side);

// The format a picture of that format is scaled in, in its colours even at one bit a pixel.
QImage::Format scalingFormat(QImage::Format format, bool hasAlpha);

}  // namespace quillbern
