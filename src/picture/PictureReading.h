#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QIODevice;
class QImage;

namespace quillbern {

// Pictures in files that others write (the shared thumbnail cache, the pictures the user
// keeps, the icon files desktop entries and icon themes hold), read so that what a file
// claims of itself costs no more memory or time than its size allows, and a picture draws
// only what its file holds.

inline constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

// What one picture from outside may take as it decodes, whatever it says of itself: a
// thumbnail's as an icon's.
inline constexpr qint64 kMostPictureBytes = 64 << 20;

// Qt's image readers refuse to make an image beyond kMostPictureBytes wherever they run, the
// pictures inside an ICO or an SVG among them. Once, before any picture is read.
void limitQtsImageAllocations();

// Calls `visit(type, chunk)` with each whole chunk of the PNG up to its end, until `visit`
// returns false; false when the chunks do not add up: no PNG, a chunk that runs past the
// end, or no end.
template <class Visit>
bool forEachPngChunk(QByteArrayView png, Visit visit) {
    if (!png.startsWith(QByteArrayView(kPngSignature.data(), kPngSignature.size()))) return false;
    const auto bigEndian = [](const char* bytes) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes);
        return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | b[3];
    };
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = bigEndian(png.constData() + at);
        const std::string_view type(png.constData() + at + 4, 4);
        if (length > static_cast<std::uint32_t>(png.size() - at - 12)) return false;
        const std::string_view chunk(png.constData() + at, 12 + std::size_t(length));
        at += 12 + static_cast<qsizetype>(length);
        if (!visit(type, chunk)) return true;
        if (type == "IEND") return true;
    }
    return false;
}

bool isPngTextChunk(std::string_view type);

// A text chunk whose text is compressed, which Qt's reader would inflate in full.
bool isCompressedPngText(std::string_view type, std::string_view chunk);

// How a compressed stream is wrapped: in zlib's header (a PNG's texts) or gzip's (a
// compressed SVG).
enum class Wrapping { zlib, gzip };

// What the stream inflates to, no further than `limit` bytes: a stream that inflates further,
// or ends early, is cut there. None when it is damaged.
std::optional<std::string> inflatedAtMost(std::string_view packed, std::size_t limit, Wrapping wrapping);

// The PNG without its text chunks, which Qt's reader would inflate in full, every one: a
// file of a megabyte can hold gigabytes of them. None when its chunks do not add up, which
// Qt's reader would meet by taking as much memory as a chunk claims.
std::optional<QByteArray> pngWithoutTexts(const QByteArray& png);

// The picture the device holds, at most `side` pixels either way, a scalable one drawn at
// that side; a null image when Qt cannot read it, when decoding and fitting it would hold
// more than `mostBytes` at once, or when reading the file would work past its ReadingBudget,
// told from the picture's own headers and markers (PictureCosts) before it is decoded. A
// QFile lends its name's suffix to tell the picture's format. Only the formats whose cost can
// be told are read: PNG (without its texts, and not at all when its chunks do not add up),
// JPEG, GIF, BMP, ICO, the portable any-maps, XBM, XPM and SVG (compressed or not, only as
// selfContainedSvg allows); any other that a plugin of Qt reads is refused, since what it
// takes is known to nobody here.
QImage readPicture(QIODevice& device, int side, qint64 mostBytes);

// The picture scaled down to fit `side`, in its colours even at one bit a pixel; a picture
// held nowhere else is converted for it in place where it can be (pictureBytes).
QImage fittedTo(QImage image, int side);

}  // namespace quillbern
