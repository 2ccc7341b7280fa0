#include "picture/PictureReading.h"

#include <zlib.h>

#include <QBuffer>
#include <QIODevice>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <functional>
#include <string_view>

#include "picture/PictureCosts.h"
#include "picture/SelfContainedSvg.h"

namespace quillbern {

namespace {

// Enough of a file's start to hold an XPM's values and a GIF's screen.
constexpr qint64 kHeadBytes = 1 << 20;

// What Qt's reader makes of a picture asked at a size: a picture of its own size, and what
// the decoder holds beside it meanwhile.
struct Decoding {
    QSize picture;
    qint64 beside = 0;
};
using DecodingOf = std::function<std::optional<Decoding>(QSize decoded)>;

// The picture the reader holds, at most `side` pixels either way, when what reading and
// fitting it holds at once (`decoding` of the size asked; the picture alone where none is
// given) is within `mostBytes`.
QImage readPicture(QImageReader& reader, int side, qint64 mostBytes, const DecodingOf& decoding = {}) {
    reader.setAutoTransform(true);
    if (!reader.canRead()) return {};
    // Only formats that decode straight to another size, and never hold pictures of one bit
    // a pixel, are read so. Qt's reader would scale the others once read, a picture of one
    // bit a pixel as such, to noise; and what a damaged file says of its pixels is not trusted.
    const QByteArray format = reader.format();
    const QSize full = reader.size();
    const bool scalable = format == "svg" || format == "svgz";
    const bool jpeg = format == "jpeg" || format == "jpg";
    if (full.isValid() && (scalable || (jpeg && (full.width() > side || full.height() > side))))
        reader.setScaledSize(full.scaled(side, side, Qt::KeepAspectRatio));
    const QSize decoded = reader.scaledSize().isValid() ? reader.scaledSize() : full;
    if (!decoded.isValid()) return {};
    const std::optional<Decoding> made = decoding ? decoding(decoded) : Decoding{decoded};
    if (!made || pictureBytes(reader.imageFormat(), made->picture, side) + made->beside > mostBytes) return {};
    QImage picture = reader.read();
    // GIF's reader keeps the picture it made for the next frame; without it, the picture is
    // ours alone and converted in place.
    reader.setDevice(nullptr);
    return fittedTo(std::move(picture), side);
}

QImage readBytes(QByteArray bytes, const char* format, int side, qint64 mostBytes, const DecodingOf& decoding = {}) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return readPicture(reader, side, mostBytes, decoding);
}

// The JPEG's markers, read through the device a part at a time; the device is put back
// where it was.
std::optional<JpegMarkers> jpegMarkersOf(QIODevice& device) {
    const qint64 start = device.pos();
    if (device.isSequential()) return std::nullopt;
    JpegMarkers markers;
    QByteArray part(1 << 16, Qt::Uninitialized);
    for (qint64 read = 0; (read = device.read(part.data(), part.size())) > 0;)
        markers.read(QByteArrayView(part.constData(), read));
    if (!device.seek(start)) return std::nullopt;
    return markers;
}

}  // namespace

bool isPngTextChunk(std::string_view type) {
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

bool isCompressedPngText(std::string_view type, std::string_view chunk) {
    if (type == "zTXt") return true;
    if (type != "iTXt") return false;
    // The key, then the compression flag.
    const std::string_view data = chunk.substr(8, chunk.size() - 12);
    const std::size_t keyEnd = data.find('\0');
    return keyEnd == std::string_view::npos || keyEnd + 1 >= data.size() || data[keyEnd + 1] != 0;
}

std::optional<std::string> inflatedAtMost(std::string_view packed, std::size_t limit, Wrapping wrapping) {
    z_stream stream{};
    if (inflateInit2(&stream, wrapping == Wrapping::gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK) return std::nullopt;
    std::string text(limit, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(text.data());
    stream.avail_out = static_cast<uInt>(limit);
    const int status = inflate(&stream, Z_FINISH);
    text.resize(limit - stream.avail_out);
    inflateEnd(&stream);
    // Z_BUF_ERROR: the limit came first, or the stream ends early; either way it is cut.
    if (status != Z_STREAM_END && status != Z_BUF_ERROR) return std::nullopt;
    return text;
}

std::optional<QByteArray> pngWithoutTexts(const QByteArray& png) {
    QByteArray kept(kPngSignature.data(), qsizetype(kPngSignature.size()));
    const bool whole = forEachPngChunk(png, [&kept](std::string_view type, std::string_view chunk) {
        if (!isPngTextChunk(type)) kept.append(chunk.data(), qsizetype(chunk.size()));
        return true;
    });
    if (!whole) return std::nullopt;
    return kept;
}

void limitQtsImageAllocations() {
    QImageReader::setAllocationLimit(int(kMostPictureBytes >> 20));
}

QImage readPicture(QIODevice& device, int side, qint64 mostBytes) {
    ReadingBudget budget;
    const QByteArray head = device.peek(kHeadBytes);
    if (head.startsWith(QByteArrayView(kPngSignature.data(), qsizetype(kPngSignature.size())))) {
        std::optional<QByteArray> png = pngWithoutTexts(device.readAll());
        if (!png || !pngDecodeCost(*png, budget)) return {};
        return readBytes(std::move(*png), "png", side, mostBytes);
    }
    // Of Qt's readers only the SVG one takes gzip's streams.
    if (!head.startsWith(QByteArrayView(kGzipMagic.data(), qsizetype(kGzipMagic.size())))) {
        QImageReader reader(&device);
        const QByteArray format = reader.format();
        if (format == "jpeg" || format == "jpg") {
            const std::optional<JpegMarkers> markers = jpegMarkersOf(device);
            if (!markers || !budget.decodeJpegBlocks(markers->blocksDecoded())) return {};
            return readPicture(reader, side, mostBytes, [&markers](QSize decoded) -> std::optional<Decoding> {
                const std::optional<qint64> beside = markers->heldBeside(decoded);
                if (!beside) return std::nullopt;
                return Decoding{decoded, *beside};
            });
        }
        if (format == "xpm") {
            if (!xpmHeaderWithinBounds(head)) return {};
            return readPicture(reader, side, mostBytes);
        }
        if (format == "gif") {
            const std::optional<QSize> screen = gifScreen(head);
            if (!screen) return {};
            return readPicture(reader, side, mostBytes, [&screen](QSize decoded) {
                return std::optional(Decoding{decoded.expandedTo(*screen)});
            });
        }
        if (format == "ico") {
            const QByteArray ico = device.readAll();
            // The directory's sizes are no picture's: each picture is sized by its own header.
            const std::optional<qint64> largest = icoDecodeCost(ico, budget);
            if (!largest) return {};
            return readBytes(ico, "ico", side, mostBytes, [largest](QSize decoded) {
                return std::optional(Decoding{decoded, *largest});
            });
        }
        static constexpr std::string_view kSizedByTheirHeaders[] = {"bmp", "pbm", "pgm", "ppm", "xbm"};
        if (std::ranges::find(kSizedByTheirHeaders, std::string_view(format.constData(), std::size_t(format.size()))) !=
            std::end(kSizedByTheirHeaders))
            return readPicture(reader, side, mostBytes);
        if (format != "svg" && format != "svgz") return {};
    }
    // Qt's SVG reader is handed the checked text alone, never the device: it would inflate a
    // compressed file without bound, and open the files a picture names beside a QFile's.
    std::optional<QByteArray> svg = selfContainedSvg(device.read(kMostSvgBytes + 1), mostBytes, budget);
    if (!svg) return {};
    return readBytes(std::move(*svg), "svg", side, mostBytes);
}

QImage fittedTo(QImage image, int side) {
    if (image.width() <= side && image.height() <= side) return image;
    // Smooth scaling copies a picture into a format it takes; converted here, a picture
    // held nowhere else changes in place where that format has as many bits.
    image.convertTo(scalingFormat(image.format(), image.hasAlphaChannel()));
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace quillbern
