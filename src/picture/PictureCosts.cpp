#include "picture/PictureCosts.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "picture/PictureReading.h"

namespace quillbern {

namespace {

// Far more colours than an icon holds; the reader keeps a table of them all.
constexpr qint64 kMostXpmColours = 1 << 16;
// A picture side no format here can hold more of.
constexpr std::uint32_t kMostSide = 1 << 20;

std::uint32_t bigEndian32(QByteArrayView bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | b[3];
}

unsigned bigEndian16(QByteArrayView bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return (unsigned(b[0]) << 8) | b[1];
}

std::uint32_t littleEndian32(QByteArrayView bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return (std::uint32_t(b[3]) << 24) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[1]) << 8) | b[0];
}

// What the rows of a PNG's image data take inflated, each with its filter byte; Adam7's
// seven passes each have rows of their own.
qint64 pngImageDataBytes(qint64 width, qint64 height, qint64 bitsPerPixel, bool interlaced) {
    const auto rows = [bitsPerPixel](qint64 w, qint64 h) {
        return w > 0 && h > 0 ? h * (1 + (w * bitsPerPixel + 7) / 8) : 0;
    };
    if (!interlaced) return rows(width, height);
    static constexpr std::array<int, 7> kX0{0, 4, 0, 2, 0, 1, 0}, kDx{8, 8, 4, 4, 2, 2, 1};
    static constexpr std::array<int, 7> kY0{0, 0, 4, 0, 2, 0, 1}, kDy{8, 8, 8, 4, 4, 2, 2};
    qint64 total = 0;
    for (std::size_t pass = 0; pass < kX0.size(); ++pass)
        total +=
            rows((width - kX0[pass] + kDx[pass] - 1) / kDx[pass], (height - kY0[pass] + kDy[pass] - 1) / kDy[pass]);
    return total;
}

// Whether the stream of the IDAT chunks inflates to no more than `most` bytes. Inflated into
// a scratch block, so the check keeps nothing of it.
bool inflatesWithin(const std::vector<std::string_view>& parts, qint64 most) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    std::array<Bytef, 1 << 16> scratch;
    int status = Z_OK;
    for (const std::string_view part : parts) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(part.data()));
        stream.avail_in = uInt(part.size());
        // Until this part is taken in and nothing inflated is held back for want of room.
        do {
            stream.next_out = scratch.data();
            stream.avail_out = uInt(scratch.size());
            status = inflate(&stream, Z_NO_FLUSH);
            if (qint64(stream.total_out) > most) status = Z_DATA_ERROR;
        } while (status == Z_OK && (stream.avail_in > 0 || stream.avail_out == 0));
        // No progress for want of input: the next part brings it.
        if (status == Z_BUF_ERROR) status = Z_OK;
        if (status != Z_OK) break;
    }
    inflateEnd(&stream);
    // A stream cut short leaves rows Qt's reader fills itself.
    return status == Z_OK || status == Z_STREAM_END;
}

}  // namespace

std::optional<qint64> pngDecodeCost(QByteArrayView png) {
    std::optional<QByteArrayView> header;
    std::vector<std::string_view> data;
    const bool whole = forEachPngChunk(png, [&](std::string_view type, std::string_view chunk) {
        if (!header && type == "IHDR" && chunk.size() == 12 + 13)
            header = QByteArrayView(chunk.data() + 8, 13);
        else if (type == "IDAT")
            data.push_back(chunk.substr(8, chunk.size() - 12));
        return true;
    });
    if (!whole || !header) return std::nullopt;
    const std::uint32_t width = bigEndian32(*header, 0);
    const std::uint32_t height = bigEndian32(*header, 4);
    const int depth = (*header)[8];
    const int colourType = (*header)[9];
    static constexpr std::array<int, 7> kChannels{1, 0, 3, 1, 2, 0, 4};
    if (width == 0 || height == 0 || width > kMostSide || height > kMostSide || colourType < 0 ||
        colourType >= int(kChannels.size()) || kChannels[std::size_t(colourType)] == 0 ||
        (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16))
        return std::nullopt;
    const qint64 bitsPerPixel = qint64(kChannels[std::size_t(colourType)]) * depth;
    if (!inflatesWithin(data, pngImageDataBytes(width, height, bitsPerPixel, (*header)[12] != 0))) return std::nullopt;
    return qint64(width) * height * (depth == 16 ? 8 : 4);
}

std::optional<qint64> jpegDecodeCost(QByteArrayView head, QSize decoded) {
    if (!head.startsWith("\xFF\xD8")) return std::nullopt;
    qsizetype at = 2;
    while (at + 4 <= head.size()) {
        if (std::uint8_t(head[at]) != 0xFF) return std::nullopt;
        const std::uint8_t marker = std::uint8_t(head[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        // A scan or the end before any frame: no picture to size.
        if (marker == 0xDA || marker == 0xD9) return std::nullopt;
        const unsigned length = bigEndian16(head, at + 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame) {
            if (length < 2) return std::nullopt;
            at += 2 + qsizetype(length);
            continue;
        }
        if (at + 10 > head.size()) return std::nullopt;
        const qint64 height = bigEndian16(head, at + 5);
        const qint64 width = bigEndian16(head, at + 7);
        const int components = std::uint8_t(head[at + 9]);
        if (width == 0 || height == 0 || components == 0 || at + 10 + 3 * components > head.size()) return std::nullopt;
        // libjpeg decodes at an eighth of the size at least; Qt scales the rest.
        const qint64 output =
            std::max(qint64(decoded.width()) * decoded.height(), ((width + 7) / 8) * ((height + 7) / 8)) * 4;
        const bool progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        if (!progressive) return output;
        int mostH = 1, mostV = 1;
        for (int c = 0; c < components; ++c) {
            const int sampling = std::uint8_t(head[at + 10 + 3 * c + 1]);
            mostH = std::max(mostH, sampling >> 4);
            mostV = std::max(mostV, sampling & 15);
        }
        // Sixty-four coefficients of two bytes for each block of eight by eight of every
        // component, the whole picture's.
        qint64 coefficients = 0;
        for (int c = 0; c < components; ++c) {
            const int sampling = std::uint8_t(head[at + 10 + 3 * c + 1]);
            const qint64 w = (width * std::max(1, sampling >> 4) + mostH - 1) / mostH;
            const qint64 h = (height * std::max(1, sampling & 15) + mostV - 1) / mostV;
            coefficients += ((w + 7) / 8) * ((h + 7) / 8) * 64 * 2;
        }
        return coefficients + output;
    }
    return std::nullopt;
}

std::optional<qint64> icoDecodeCost(QByteArrayView ico) {
    if (ico.size() < 6 || ico[0] != 0 || ico[1] != 0 || (ico[2] != 1 && ico[2] != 2) || ico[3] != 0)
        return std::nullopt;
    const qsizetype count = qsizetype(std::uint8_t(ico[4])) | (qsizetype(std::uint8_t(ico[5])) << 8);
    if (count == 0 || 6 + 16 * count > ico.size()) return std::nullopt;
    qint64 most = 0;
    for (qsizetype entry = 0; entry < count; ++entry) {
        const qsizetype at = 6 + 16 * entry;
        const qint64 bytes = littleEndian32(ico, at + 8);
        const qint64 offset = littleEndian32(ico, at + 12);
        if (bytes < 16 || offset + bytes > ico.size()) return std::nullopt;
        const QByteArrayView picture = ico.sliced(offset, bytes);
        std::optional<qint64> cost;
        if (picture.startsWith(QByteArrayView(kPngSignature.data(), qsizetype(kPngSignature.size())))) {
            cost = pngDecodeCost(picture);
        } else if (littleEndian32(picture, 0) >= 12) {
            // A bitmap's header: its height counts the picture and its mask.
            const qint64 width = std::abs(qint64(std::int32_t(littleEndian32(picture, 4))));
            const qint64 height = std::abs(qint64(std::int32_t(littleEndian32(picture, 8)))) / 2;
            if (width > 0 && height > 0 && width <= kMostSide && height <= kMostSide) cost = width * height * 4;
        }
        if (!cost) return std::nullopt;
        most = std::max(most, *cost);
    }
    return most;
}

std::optional<qint64> xpmDecodeCost(QByteArrayView head) {
    // The first string holds the width, height, colours and characters a pixel.
    const qsizetype open = head.indexOf('"');
    const qsizetype close = open < 0 ? -1 : head.indexOf('"', open + 1);
    if (close < 0) return std::nullopt;
    const std::string values(head.data() + open + 1, std::size_t(close - open - 1));
    long long width = 0, height = 0, colours = 0, perPixel = 0;
    if (std::sscanf(values.c_str(), "%lld %lld %lld %lld", &width, &height, &colours, &perPixel) != 4 || width <= 0 ||
        height <= 0 || width > kMostSide || height > kMostSide || colours <= 0 || colours > kMostXpmColours)
        return std::nullopt;
    return qint64(width) * height * 4;
}

}  // namespace quillbern
