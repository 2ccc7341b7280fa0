#include "linux/freedesktop/LinuxThumbnailer.h"

#include <fcntl.h>
#include <glib.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QImageWriter>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

#include "core/foundation/AtomicFile.h"
#include "core/foundation/Log.h"
#include "picture/PictureReading.h"

namespace quillbern {

namespace {

struct CacheSize {
    const char* folder;
    int side;
};
// The sizes the standard names, smallest first.
constexpr CacheSize kSizes[] = {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};
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

QImage imageOf(const PixelBuffer& pixels) {
    return QImage(pixels.rgbaPremultiplied.data(), pixels.width, pixels.height, pixels.width * 4,
                  QImage::Format_RGBA8888_Premultiplied);
}

ImageHandle handleOf(PixelBuffer pixels) {
    auto handle = std::make_shared<Image>();
    handle->widthPx = pixels.width;
    handle->heightPx = pixels.height;
    handle->pixels = std::move(pixels);
    return handle;
}

ImageHandle handleOf(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    PixelBuffer pixels{image.width(), image.height(), {}};
    const auto rowBytes = static_cast<std::size_t>(image.width()) * 4;
    pixels.rgbaPremultiplied.resize(rowBytes * static_cast<std::size_t>(image.height()));
    for (int row = 0; row < image.height(); ++row)
        std::memcpy(pixels.rgbaPremultiplied.data() + rowBytes * static_cast<std::size_t>(row),
                    image.constScanLine(row), rowBytes);
    return handleOf(std::move(pixels));
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

LinuxThumbnailer::LinuxThumbnailer(std::unique_ptr<PictureReader> reader) : reader_(std::move(reader)) {}

std::string LinuxThumbnailer::cacheFile(const std::string& sizeFolder, const std::string& uri) {
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(uri), QCryptographicHash::Md5).toHex();
    return cacheRoot() + "/" + sizeFolder + "/" + digest.toStdString() + ".png";
}

void LinuxThumbnailer::stop() {
    reader_->stop();
}

void LinuxThumbnailer::rest() const {
    const std::lock_guard lock(mutex_);
    reader_->rest();
}

Thumbnail LinuxThumbnailer::thumbnail(const Path& file, int sidePx, Duration limit) const {
    struct stat facts;
    if (::stat(file.c_str(), &facts) != 0 || !S_ISREG(facts.st_mode)) return {};
    const std::string root = cacheRoot();
    const std::string uri = fileUri(file);
    if (root.empty() || uri.empty()) return {};
    // A thumbnail of a thumbnail is never made.
    if (file.starts_with(root + "/")) return {};
    const std::string mtime = std::to_string(static_cast<long long>(facts.st_mtim.tv_sec));
    const std::lock_guard lock(mutex_);
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(limit);
    const auto left = [&until] {
        return std::chrono::duration<double>(until - std::chrono::steady_clock::now()).count();
    };
    const auto failed = [](PictureRead::Outcome outcome) -> std::optional<Thumbnail> {
        switch (outcome) {
            case PictureRead::Outcome::overran:
                return Thumbnail{Thumbnail::Outcome::overran, nullptr};
            case PictureRead::Outcome::lost:
                return Thumbnail{Thumbnail::Outcome::lost, nullptr};
            case PictureRead::Outcome::unavailable:
                return Thumbnail{};
            case PictureRead::Outcome::picture:
            case PictureRead::Outcome::none:
                break;
        }
        return std::nullopt;
    };

    // The smallest stored size that is large enough, else a larger one.
    std::size_t wanted = 0;
    while (wanted + 1 < std::size(kSizes) && kSizes[wanted].side < sidePx)
        ++wanted;
    for (std::size_t i = wanted; i < std::size(kSizes); ++i) {
        const std::string stored = cacheFile(kSizes[i].folder, uri);
        struct stat storedFacts;
        if (::stat(stored.c_str(), &storedFacts) != 0) continue;
        PictureRead read = reader_->read(
            {.kind = PictureAsk::Kind::storedThumbnail, .file = stored, .sidePx = sidePx, .uri = uri, .mtime = mtime},
            left());
        if (const std::optional<Thumbnail> none = failed(read.outcome)) return *none;
        if (read.outcome == PictureRead::Outcome::picture)
            return {Thumbnail::Outcome::made, handleOf(std::move(read.pixels))};
    }

    const int side = kSizes[wanted].side;
    const PictureRead read = reader_->read(
        {.kind = PictureAsk::Kind::thumbnail, .file = file, .sidePx = side, .uri = {}, .mtime = {}}, left());
    if (const std::optional<Thumbnail> none = failed(read.outcome)) return *none;
    if (read.outcome != PictureRead::Outcome::picture) return {};
    const QImage picture = imageOf(read.pixels);
    storePicture(picture, root + "/" + kSizes[wanted].folder, cacheFile(kSizes[wanted].folder, uri), uri, mtime);
    return {Thumbnail::Outcome::made, handleOf(fittedTo(picture, sidePx))};
}

}  // namespace quillbern
