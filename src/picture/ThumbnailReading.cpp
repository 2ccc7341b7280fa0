#include "picture/ThumbnailReading.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <optional>
#include <string_view>

#include "picture/PictureReading.h"

namespace quillbern {

namespace {

// The value of the PNG's first text chunk under `key`, plain or compressed, no longer than
// `limit` bytes. Read here because Qt's reader splits keys at a colon, which every key of
// the thumbnail standard holds, and inflates every compressed text in full whatever its key.
std::optional<std::string> pngText(const QByteArray& png, std::string_view key, std::size_t limit) {
    std::optional<std::string> value;
    forEachPngChunk(png, [&](std::string_view type, std::string_view chunk) {
        const std::string_view data = chunk.substr(8, chunk.size() - 12);
        const std::size_t keyEnd = data.find('\0');
        if (!isPngTextChunk(type) || keyEnd == std::string_view::npos || data.substr(0, keyEnd) != key) return true;
        const std::string_view rest = data.substr(keyEnd + 1);
        if (type == "tEXt") {
            value = std::string(rest.substr(0, limit));
        } else if (type == "zTXt") {
            // The compression method, then the text; Qt itself writes long values so.
            if (!rest.empty() && rest[0] == 0) value = inflatedAtMost(rest.substr(1), limit, Wrapping::zlib);
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

}  // namespace

QImage cachedThumbnail(const QByteArray& png, const std::string& uri, const std::string& mtime) {
    // A byte more than either value: a longer text matches neither.
    const std::size_t limit = std::max(uri.size(), mtime.size()) + 1;
    if (pngText(png, "Thumb::URI", limit) != uri || pngText(png, "Thumb::MTime", limit) != mtime) return {};
    // Read as every picture of others: what its header claims is not trusted.
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    return readPicture(buffer, kMostThumbnailSide, kMostPictureBytes);
}

}  // namespace quillbern
