#include "linux/freedesktop/ThumbnailReading.h"

#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace quillbern {

namespace {

std::uint32_t bigEndian(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | b[3];
}

// The text of a compressed chunk, inflated no further than `limit` bytes; none when it is
// damaged.
std::optional<std::string> inflated(std::string_view packed, std::size_t limit) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return std::nullopt;
    std::string text(limit, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(text.data());
    stream.avail_out = static_cast<uInt>(limit);
    const int status = inflate(&stream, Z_FINISH);
    text.resize(limit - stream.avail_out);
    inflateEnd(&stream);
    // Z_BUF_ERROR: the limit came first, or the text ends early; either way it is cut.
    if (status != Z_STREAM_END && status != Z_BUF_ERROR) return std::nullopt;
    return text;
}

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

bool isTextChunk(std::string_view type) {
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

// Calls `visit(type, data)` with each chunk of the PNG up to its end; false when the chunks
// do not add up: no PNG, a chunk that runs past the end, or no end.
template <class Visit>
bool forEachChunk(const QByteArray& png, Visit visit) {
    if (!QByteArrayView(png).startsWith(QByteArrayView(kPngSignature.data(), kPngSignature.size()))) return false;
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

// The value of the PNG's first text chunk under `key`, plain or compressed, no longer than
// `limit` bytes. Read here because Qt's reader splits keys at a colon, which every key of
// the thumbnail standard holds, and inflates every compressed text in full whatever its key.
std::optional<std::string> pngText(const QByteArray& png, std::string_view key, std::size_t limit) {
    std::optional<std::string> value;
    forEachChunk(png, [&](std::string_view type, std::string_view chunk) {
        const std::string_view data = chunk.substr(8, chunk.size() - 12);
        const std::size_t keyEnd = data.find('\0');
        if (!isTextChunk(type) || keyEnd == std::string_view::npos || data.substr(0, keyEnd) != key) return true;
        const std::string_view rest = data.substr(keyEnd + 1);
        if (type == "tEXt") {
            value = std::string(rest.substr(0, limit));
        } else if (type == "zTXt") {
            // The compression method, then the text; Qt itself writes long values so.
            if (!rest.empty() && rest[0] == 0) value = inflated(rest.substr(1), limit);
        } else if (rest.size() >= 2 && rest[0] == 0) {
            // The compression flag and method, the language and the translated key; only
            // plain text is read.
            const std::size_t languageEnd = rest.find('\0', 2);
            const std::size_t translatedEnd =
                languageEnd == std::string_view::npos ? languageEnd : rest.find('\0', languageEnd + 1);
            if (translatedEnd != std::string_view::npos) value = std::string(rest.substr(translatedEnd + 1, limit));
        }
        return false;
    });
    return value;
}

// The PNG without its text chunks, which Qt's reader would inflate in full, every one: a
// file of a megabyte can hold gigabytes of them. None when its chunks do not add up, which
// Qt's reader would meet by taking as much memory as a chunk claims.
std::optional<QByteArray> withoutTexts(const QByteArray& png) {
    QByteArray kept(kPngSignature.data(), qsizetype(kPngSignature.size()));
    const bool whole = forEachChunk(png, [&kept](std::string_view type, std::string_view chunk) {
        if (!isTextChunk(type)) kept.append(chunk.data(), qsizetype(chunk.size()));
        return true;
    });
    if (!whole) return std::nullopt;
    return kept;
}

// The picture the reader holds, at most `side` pixels either way.
QImage readPicture(QImageReader& reader, int side) {
    reader.setAutoTransform(true);
    if (!reader.canRead()) return {};
    // Only formats that decode straight to a smaller size, and never hold pictures of one bit
    // a pixel, are read so. Qt's reader would scale the others once read, a picture of one bit
    // a pixel as such, to noise; and what a damaged file says of its pixels is not trusted.
    if (const QByteArray format = reader.format(); format == "jpeg" || format == "svg" || format == "svgz") {
        if (const QSize full = reader.size(); full.isValid() && (full.width() > side || full.height() > side))
            reader.setScaledSize(full.scaled(side, side, Qt::KeepAspectRatio));
    }
    return fittedTo(reader.read(), side);
}

}  // namespace

QImage cachedThumbnail(const QByteArray& png, const std::string& uri, const std::string& mtime) {
    // A byte more than either value: a longer text matches neither.
    const std::size_t limit = std::max(uri.size(), mtime.size()) + 1;
    if (pngText(png, "Thumb::URI", limit) != uri || pngText(png, "Thumb::MTime", limit) != mtime) return {};
    const std::optional<QByteArray> picture = withoutTexts(png);
    return picture ? QImage::fromData(*picture, "png") : QImage();
}

QImage thumbnailPicture(QIODevice& device, int side) {
    if (device.peek(qint64(kPngSignature.size())) != QByteArrayView(kPngSignature.data(), kPngSignature.size())) {
        QImageReader reader(&device);
        return readPicture(reader, side);
    }
    std::optional<QByteArray> png = withoutTexts(device.readAll());
    if (!png) return {};
    QBuffer buffer(&*png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    return readPicture(reader, side);
}

QImage fittedTo(QImage image, int side) {
    if (image.width() <= side && image.height() <= side) return image;
    // Scaling keeps a picture's format, and one bit a pixel cannot hold the blended colours.
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image.convertTo(QImage::Format_ARGB32);
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace quillbern
