#include "linux/freedesktop/LinuxThumbnailer.h"

#include <fcntl.h>
#include <glib.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

#include "core/foundation/AtomicFile.h"
#include "core/foundation/Log.h"
#include "core/foundation/RegularFile.h"
#include "linux/freedesktop/ThumbnailReading.h"
#include "picture/PictureReading.h"

namespace quillbern {

namespace {

struct CacheSize {
    const char* folder;
    int side;
};
// The sizes the standard names, smallest first.
constexpr CacheSize kSizes[] = {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};
// Larger files are not worth reading for a thumbnail: a picture decodes within
// kMostPictureBytes whatever its file's size.
constexpr std::uint64_t kMaxImageBytes = kMostPictureBytes;

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
constexpr std::uint64_t kMaxStoredBytes = 16LL << 20;

// The stored picture, when it was made from the file as it is now.
QImage storedPicture(const std::string& path, const std::string& uri, const std::string& mtime) {
    const Result<std::string> png = readRegularFile(path, kMaxStoredBytes);
    if (!png) return {};
    return cachedThumbnail(QByteArray::fromStdString(png.value()), uri, mtime);
}

void storePicture(const QImage& picture, const std::string& folder, const std::string& path, const std::string& uri,
                  const std::string& mtime) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // The cache tells what the user has opened: theirs alone. A link there keeps its target's rights.
    ::fchmodat(AT_FDCWD, folder.c_str(), 0700, AT_SYMLINK_NOFOLLOW);
    QImage tagged = picture;
    tagged.setText(QStringLiteral("Thumb::URI"), QString::fromStdString(uri));
    tagged.setText(QStringLiteral("Thumb::MTime"), QString::fromStdString(mtime));
    tagged.setText(QStringLiteral("Software"), QStringLiteral("Quillbern"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(tagged)) return;
    // Other readers of the cache see the old picture or the new one, never half of one.
    // A link in the cache is replaced, never the file it points to.
    if (const Result<void> written =
            writeFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), LinkAtName::replaced);
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

    Result<RegularFile> opened = RegularFile::open(file, kMaxImageBytes);
    if (!opened) return nullptr;
    // The name tells Qt's reader the picture's format.
    QFile source(QString::fromStdString(file));
    if (!source.open(opened.value().release(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return nullptr;
    const int side = kSizes[wanted].side;
    const QImage picture = readPicture(source, side, kMostPictureBytes);
    if (picture.isNull()) return nullptr;
    storePicture(picture, root + "/" + kSizes[wanted].folder, cacheFile(kSizes[wanted].folder, uri), uri, mtime);
    return handleOf(fittedTo(picture, sidePx));
}

}  // namespace quillbern
