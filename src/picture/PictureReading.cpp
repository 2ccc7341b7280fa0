#include "picture/PictureReading.h"

#include <zlib.h>

#include <QBuffer>
#include <QIODevice>
#include <QImage>
#include <QImageReader>

#include "picture/SelfContainedSvg.h"

namespace quillbern {

namespace {

// The picture the reader holds, at most `side` pixels either way.
QImage readPicture(QImageReader& reader, int side, qint64 mostBytes) {
    reader.setAutoTransform(true);
    if (!reader.canRead()) return {};
    // Only formats that decode straight to another size, and never hold pictures of one bit
    // a pixel, are read so. Qt's reader would scale the others once read, a picture of one
    // bit a pixel as such, to noise; and what a damaged file says of its pixels is not trusted.
    const QByteArray format = reader.format();
    const QSize full = reader.size();
    const bool scalable = format == "svg" || format == "svgz";
    if (full.isValid() && (scalable || (format == "jpeg" && (full.width() > side || full.height() > side))))
        reader.setScaledSize(full.scaled(side, side, Qt::KeepAspectRatio));
    // Four bytes a pixel, as Qt's readers count; a format that tells no size before it
    // decodes is held by Qt's own limit.
    if (const QSize decoded = reader.scaledSize().isValid() ? reader.scaledSize() : full;
        decoded.isValid() && qint64(decoded.width()) * decoded.height() * 4 > mostBytes)
        return {};
    return fittedTo(reader.read(), side);
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

QImage readPicture(QIODevice& device, int side, qint64 mostBytes) {
    const QByteArray head = device.peek(qint64(kPngSignature.size()));
    if (head == QByteArrayView(kPngSignature.data(), kPngSignature.size())) {
        std::optional<QByteArray> png = pngWithoutTexts(device.readAll());
        if (!png) return {};
        QBuffer buffer(&*png);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        return readPicture(reader, side, mostBytes);
    }
    // Of Qt's readers only the SVG one takes gzip's streams.
    if (!head.startsWith(QByteArrayView(kGzipMagic.data(), kGzipMagic.size()))) {
        QImageReader reader(&device);
        const QByteArray format = reader.format();
        if (format != "svg" && format != "svgz") return readPicture(reader, side, mostBytes);
    }
    // Qt's SVG reader is handed the checked text alone, never the device: it would inflate a
    // compressed file without bound, and open the files a picture names beside a QFile's.
    std::optional<QByteArray> svg = selfContainedSvg(device.read(kMostSvgBytes + 1), mostBytes);
    if (!svg) return {};
    QBuffer buffer(&*svg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "svg");
    return readPicture(reader, side, mostBytes);
}

QImage fittedTo(QImage image, int side) {
    if (image.width() <= side && image.height() <= side) return image;
    // Scaling keeps a picture's format, and one bit a pixel cannot hold the blended colours.
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image.convertTo(QImage::Format_ARGB32);
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace quillbern
