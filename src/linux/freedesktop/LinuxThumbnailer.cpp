#include "linux/freedesktop/LinuxThumbnailer.h"

#include <glib.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string_view>
#include <sys/stat.h>

#include "core/foundation/AtomicFile.h"
#include "core/foundation/Log.h"

namespace quillbern {

namespace {

struct CacheSize {
    const char* folder;
    int side;
};
// The sizes the standard names, smallest first.
constexpr CacheSize kSizes[] = {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};
// Larger images are not worth decoding for a thumbnail.
constexpr qint64 kMaxImageBytes = 256LL << 20;

std::string cacheRoot() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/')
        return std::string(cache) + "/thumbnails";
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.cache/thumbnails";
    return {};
}

std::string fileUri(const Path& file) {
    gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr);
    if (!uri) return {};
    std::string result(uri);
    g_free(uri);
    return result;
}

QImage fittedTo(QImage image, int side) {
    if (image.width() <= side && image.height() <= side) return image;
    // Scaling keeps a picture's format, and one bit a pixel cannot hold the blended colours.
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image.convertTo(QImage::Format_ARGB32);
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

ImageHandle handleOf(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    PixelBuffer pixels{image.width(), image.height(), {}};
    const auto rowBytes = static_cast<std::size_t>(image.width()) * 4;
    pixels.rgbaPremultiplied.resize(rowBytes * static_cast<std::size_t>(image.height()));
    for (int row = 0; row < image.height(); ++row)
        std::memcpy(pixels.rgbaPremultiplied.data() + rowBytes * static_cast<std::size_t>(row),
                    image.constScanLine(row), rowBytes);
    auto handle = std::make_shared<Image>();
    handle->widthPx = pixels.width;
    handle->heightPx = pixels.height;
    handle->pixels = std::move(pixels);
    return handle;
}

// Larger files in the cache are no thumbnails.
constexpr qint64 kMaxStoredBytes = 16LL << 20;

std::uint32_t bigEndian(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | b[3];
}

// The PNG's text chunks by key, plain or compressed. Read here because Qt's reader splits
// keys at a colon, which every key of the thumbnail standard holds.
std::map<std::string, std::string> pngTexts(const QByteArray& png) {
    std::map<std::string, std::string> texts;
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (png.size() < 8 || std::memcmp(png.constData(), kSignature, 8) != 0) return texts;
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = bigEndian(png.constData() + at);
        const std::string_view type(png.constData() + at + 4, 4);
        if (length > static_cast<std::uint32_t>(png.size() - at - 12)) break;
        const std::string_view data(png.constData() + at + 8, length);
        if (type == "tEXt") {
            if (const std::size_t end = data.find('\0'); end != std::string_view::npos)
                texts.emplace(data.substr(0, end), data.substr(end + 1));
        } else if (type == "zTXt") {
            // Qt itself writes long values compressed.
            const std::size_t end = data.find('\0');
            if (end != std::string_view::npos && end + 2 <= data.size() && data[end + 1] == 0) {
                QByteArray packed("\0\0\x10\0", 4);
                packed.append(data.data() + end + 2, static_cast<qsizetype>(data.size() - end - 2));
                const QByteArray text = qUncompress(packed);
                texts.emplace(data.substr(0, end), text.toStdString());
            }
        } else if (type == "iTXt") {
            // Key, then compression flag and method, language and translated key; only plain text is read.
            const std::size_t keyEnd = data.find('\0');
            if (keyEnd != std::string_view::npos && keyEnd + 2 < data.size() && data[keyEnd + 1] == 0) {
                const std::size_t languageEnd = data.find('\0', keyEnd + 3);
                const std::size_t translatedEnd =
                    languageEnd == std::string_view::npos ? languageEnd : data.find('\0', languageEnd + 1);
                if (translatedEnd != std::string_view::npos)
                    texts.emplace(data.substr(0, keyEnd), data.substr(translatedEnd + 1));
            }
        } else if (type == "IEND") {
            break;
        }
        at += 12 + static_cast<qsizetype>(length);
    }
    return texts;
}

// The stored picture, when it was made from the file as it is now.
QImage storedPicture(const std::string& path, const std::string& uri, const std::string& mtime) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxStoredBytes) return {};
    const QByteArray png = file.readAll();
    const std::map<std::string, std::string> texts = pngTexts(png);
    const auto matches = [&texts](const char* key, const std::string& value) {
        const auto it = texts.find(key);
        return it != texts.end() && it->second == value;
    };
    if (!matches("Thumb::URI", uri) || !matches("Thumb::MTime", mtime)) return {};
    return QImage::fromData(png, "png");
}

void storePicture(const QImage& picture, const std::string& folder, const std::string& path, const std::string& uri,
                  const std::string& mtime) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // The cache tells what the user has opened: theirs alone.
    ::chmod(folder.c_str(), 0700);
    QImage tagged = picture;
    tagged.setText(QStringLiteral("Thumb::URI"), QString::fromStdString(uri));
    tagged.setText(QStringLiteral("Thumb::MTime"), QString::fromStdString(mtime));
    tagged.setText(QStringLiteral("Software"), QStringLiteral("Quillbern"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(tagged)) return;
    // Other readers of the cache see the old picture or the new one, never half of one.
    if (const Result<void> written = writeFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
        !written) {
        log("a thumbnail could not be stored — ", escapedForLog(written.error().message));
    }
}

}  // namespace

std::string LinuxThumbnailer::cacheFile(const std::string& sizeFolder, const std::string& uri) {
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(uri), QCryptographicHash::Md5).toHex();
    return cacheRoot() + "/" + sizeFolder + "/" + digest.toStdString() + ".png";
}

ImageHandle LinuxThumbnailer::thumbnail(const Path& file, int sidePx) const {
    struct stat facts;
    if (::stat(file.c_str(), &facts) != 0 || !S_ISREG(facts.st_mode)) return nullptr;
    const std::string root = cacheRoot();
    const std::string uri = fileUri(file);
    if (root.empty() || uri.empty()) return nullptr;
    // A thumbnail of a thumbnail is never made.
    if (file.starts_with(root + "/")) return nullptr;
    const std::string mtime = std::to_string(static_cast<long long>(facts.st_mtim.tv_sec));

    // The smallest stored size that is large enough, else a larger one.
    std::size_t wanted = 0;
    while (wanted + 1 < std::size(kSizes) && kSizes[wanted].side < sidePx)
        ++wanted;
    for (std::size_t i = wanted; i < std::size(kSizes); ++i) {
        const QImage stored = storedPicture(cacheFile(kSizes[i].folder, uri), uri, mtime);
        if (!stored.isNull()) return handleOf(fittedTo(stored, sidePx));
    }

    if (facts.st_size > kMaxImageBytes) return nullptr;
    QImageReader reader(QString::fromStdString(file));
    reader.setAutoTransform(true);
    if (!reader.canRead()) return nullptr;
    const int side = kSizes[wanted].side;
    // Qt's reader would scale a picture of one bit a pixel as such, to noise: it is scaled
    // once read.
    const QImage::Format format = reader.imageFormat();
    const bool scalesWell = format != QImage::Format_Mono && format != QImage::Format_MonoLSB;
    if (const QSize full = reader.size(); scalesWell && full.isValid() && (full.width() > side || full.height() > side))
        reader.setScaledSize(full.scaled(side, side, Qt::KeepAspectRatio));
    const QImage picture = fittedTo(reader.read(), side);
    if (picture.isNull()) return nullptr;
    storePicture(picture, root + "/" + kSizes[wanted].folder, cacheFile(kSizes[wanted].folder, uri), uri, mtime);
    return handleOf(fittedTo(picture, sidePx));
}

}  // namespace quillbern
