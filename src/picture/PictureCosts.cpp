#include "picture/PictureCosts.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

unsigned littleEndian16(QByteArrayView bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return (unsigned(b[1]) << 8) | b[0];
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

bool ReadingBudget::take(qint64& left, qint64 amount) {
    if (amount < 0 || amount > left) return false;
    left -= amount;
    return true;
}

std::optional<qint64> pngDecodeCost(QByteArrayView png, ReadingBudget& budget) {
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
    const qint64 rows = pngImageDataBytes(width, height, bitsPerPixel, (*header)[12] != 0);
    if (!budget.inflate(rows) || !inflatesWithin(data, rows)) return std::nullopt;
    return qint64(width) * height * (depth == 16 ? 8 : 4);
}

void JpegMarkers::read(QByteArrayView part) {
    const auto* at = reinterpret_cast<const unsigned char*>(part.data());
    const auto* const end = at + part.size();
    while (at < end && state_ != State::end) {
        switch (state_) {
            case State::marker:
                // libjpeg passes over what stands between segments, as a damaged file holds.
                if (*at++ == 0xFF) state_ = State::markerType;
                if (!started_ && state_ != State::markerType) state_ = State::end;
                break;
            case State::entropy: {
                const void* mark = std::memchr(at, 0xFF, std::size_t(end - at));
                at = mark ? static_cast<const unsigned char*>(mark) + 1 : end;
                if (mark) state_ = State::entropyMarker;
                break;
            }
            case State::entropyMarker:
            case State::markerType: {
                const unsigned char type = *at++;
                const bool inScan = state_ == State::entropyMarker;
                if (type == 0xFF) break;
                // A stuffed byte or a restart inside a scan's data.
                if (inScan && (type == 0x00 || (type >= 0xD0 && type <= 0xD7))) {
                    state_ = State::entropy;
                } else if (!started_) {
                    started_ = type == 0xD8;
                    state_ = started_ ? State::marker : State::end;
                } else if (type == 0xD8 || type == 0xD9) {
                    state_ = State::end;
                } else if ((type >= 0xD0 && type <= 0xD7) || type == 0x01) {
                    state_ = State::marker;
                } else {
                    type_ = type;
                    lengthBytes_ = 0;
                    left_ = 0;
                    state_ = State::length;
                }
                break;
            }
            case State::length:
                left_ = (left_ << 8) | *at++;
                if (++lengthBytes_ < 2) break;
                if (left_ < 2) {
                    state_ = State::end;
                    break;
                }
                left_ -= 2;
                segment_.clear();
                state_ = State::segment;
                if (left_ == 0) segmentRead();
                break;
            case State::segment: {
                const qsizetype taken = std::min<qsizetype>(left_, end - at);
                // Only a frame's and a scan's header are read.
                if (type_ == 0xDA || (type_ >= 0xC0 && type_ <= 0xCF))
                    segment_.append(reinterpret_cast<const char*>(at), taken);
                at += taken;
                left_ -= taken;
                if (left_ == 0) segmentRead();
                break;
            }
            case State::end:
                break;
        }
    }
}

void JpegMarkers::segmentRead() {
    const QByteArrayView bytes(segment_);
    const bool frame = type_ >= 0xC0 && type_ <= 0xCF && type_ != 0xC4 && type_ != 0xC8 && type_ != 0xCC;
    state_ = State::marker;
    if (frame) {
        // libjpeg reads one frame.
        if (framed_ || bytes.size() < 6) {
            state_ = State::end;
            return;
        }
        height_ = bigEndian16(bytes, 1);
        width_ = bigEndian16(bytes, 3);
        const int count = std::uint8_t(bytes[5]);
        if (width_ == 0 || height_ == 0 || count == 0 || bytes.size() < 6 + 3 * count) {
            state_ = State::end;
            return;
        }
        for (int c = 0; c < count; ++c) {
            const int sampling = std::uint8_t(bytes[6 + 3 * c + 1]);
            components_.push_back(
                {std::uint8_t(bytes[6 + 3 * c]), std::max(1, sampling >> 4), std::max(1, sampling & 15)});
        }
        framed_ = true;
        progressive_ = type_ == 0xC2 || type_ == 0xC6 || type_ == 0xCA || type_ == 0xCE;
    } else if (type_ == 0xDA) {
        const int count = bytes.isEmpty() ? 0 : std::uint8_t(bytes[0]);
        // A scan before the frame, or of no component of it, is where libjpeg stops.
        if (!framed_ || count == 0 || bytes.size() < 1 + 2 * count) {
            state_ = State::end;
            return;
        }
        for (int c = 0; c < count; ++c) {
            const auto component = std::ranges::find(components_, int(std::uint8_t(bytes[1 + 2 * c])), &Component::id);
            if (component == components_.end()) {
                state_ = State::end;
                return;
            }
            scanBlocks_ += blocksOf(*component);
        }
        state_ = State::entropy;
    }
}

qint64 JpegMarkers::blocksOf(const Component& component) const {
    int mostH = 1, mostV = 1;
    for (const Component& other : components_) {
        mostH = std::max(mostH, other.horizontal);
        mostV = std::max(mostV, other.vertical);
    }
    const qint64 w = (width_ * component.horizontal + mostH - 1) / mostH;
    const qint64 h = (height_ * component.vertical + mostV - 1) / mostV;
    return ((w + 7) / 8) * ((h + 7) / 8);
}

qint64 JpegMarkers::blocksDecoded() const {
    qint64 output = 0;
    for (const Component& component : components_)
        output += blocksOf(component);
    return scanBlocks_ + output;
}

std::optional<qint64> JpegMarkers::heldBeside(QSize decoded) const {
    if (!framed_ || decoded.isEmpty()) return std::nullopt;
    // Qt's reader has libjpeg decode at the eighths nearest above the size asked, then
    // scales the rest itself into a picture of its own.
    const double scale = std::min(double(width_) / decoded.width(), double(height_) / decoded.height());
    const qint64 eighths = std::clamp(qint64(std::ceil(8 / scale)), qint64(1), qint64(8));
    const bool scaled = decoded != QSize(int(width_), int(height_));
    const qint64 output = scaled ? ((width_ * eighths + 7) / 8) * ((height_ * eighths + 7) / 8) * 4 : 0;
    // Sixty-four coefficients of two bytes for each block of every component.
    const qint64 coefficients = progressive_ ? (blocksDecoded() - scanBlocks_) * 64 * 2 : 0;
    return output + coefficients;
}

std::optional<qint64> icoDecodeCost(QByteArrayView ico, ReadingBudget& budget) {
    if (ico.size() < 6 || ico[0] != 0 || ico[1] != 0 || (ico[2] != 1 && ico[2] != 2) || ico[3] != 0)
        return std::nullopt;
    const qsizetype count = qsizetype(std::uint8_t(ico[4])) | (qsizetype(std::uint8_t(ico[5])) << 8);
    if (count == 0 || count > kMostIcoEntries || 6 + 16 * count > ico.size()) return std::nullopt;
    qint64 most = 0;
    for (qsizetype entry = 0; entry < count; ++entry) {
        const qsizetype at = 6 + 16 * entry;
        const qint64 bytes = littleEndian32(ico, at + 8);
        const qint64 offset = littleEndian32(ico, at + 12);
        if (bytes < 16 || offset + bytes > ico.size()) return std::nullopt;
        const QByteArrayView picture = ico.sliced(offset, bytes);
        std::optional<qint64> cost;
        if (picture.startsWith(QByteArrayView(kPngSignature.data(), qsizetype(kPngSignature.size())))) {
            cost = pngDecodeCost(picture, budget);
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

std::optional<QSize> gifScreen(QByteArrayView head) {
    if (head.size() < 10 || !(head.startsWith("GIF87a") || head.startsWith("GIF89a"))) return std::nullopt;
    return QSize(int(littleEndian16(head, 6)), int(littleEndian16(head, 8)));
}

bool xpmHeaderWithinBounds(QByteArrayView head) {
    // The first string holds the width, height, colours and characters a pixel.
    const qsizetype open = head.indexOf('"');
    const qsizetype close = open < 0 ? -1 : head.indexOf('"', open + 1);
    if (close < 0) return false;
    const std::string values(head.data() + open + 1, std::size_t(close - open - 1));
    long long width = 0, height = 0, colours = 0, perPixel = 0;
    return std::sscanf(values.c_str(), "%lld %lld %lld %lld", &width, &height, &colours, &perPixel) == 4 && width > 0 &&
           height > 0 && width <= kMostSide && height <= kMostSide && colours > 0 && colours <= kMostXpmColours;
}

QImage::Format scalingFormat(QImage::Format format, bool hasAlpha) {
    switch (format) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32_Premultiplied:
        case QImage::Format_RGBX8888:
        case QImage::Format_RGBA8888_Premultiplied:
        case QImage::Format_RGBX64:
        case QImage::Format_RGBA64_Premultiplied:
            return format;
        case QImage::Format_ARGB32:
            return QImage::Format_ARGB32_Premultiplied;
        case QImage::Format_RGBA8888:
            return QImage::Format_RGBA8888_Premultiplied;
        case QImage::Format_RGBA64:
        case QImage::Format_Grayscale16:
            return QImage::Format_RGBA64_Premultiplied;
        default:
            return hasAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    }
}

qint64 pictureBytes(QImage::Format format, QSize size, int side) {
    // The readers that do not tell (GIF's) make pictures of 32 bits.
    if (format == QImage::Format_Invalid) format = QImage::Format_ARGB32;
    const auto bytes = [size](QImage::Format of) {
        // Rows are padded to 32 bits.
        const qint64 bits = QImage::toPixelFormat(of).bitsPerPixel();
        return (qint64(size.width()) * bits + 31) / 32 * 4 * size.height();
    };
    const qint64 decoded = bytes(format);
    if (size.width() <= side && size.height() <= side) return decoded;
    const QImage::Format scaling = scalingFormat(format, true);
    // Qt converts a picture in place to a format of as many bits.
    const bool inPlace = QImage::toPixelFormat(scaling).bitsPerPixel() == QImage::toPixelFormat(format).bitsPerPixel();
    return decoded + (inPlace ? 0 : bytes(scaling));
}

}  // namespace quillbern
