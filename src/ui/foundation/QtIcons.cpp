#include "ui/foundation/QtIcons.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <algorithm>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <utility>

#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/Paths.h"
#include "core/foundation/RegularFile.h"
#include "core/platform/UserDirsFile.h"
#include "picture/PictureReading.h"
#include "ui/foundation/IconThemeIndex.h"
#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

// Far more than any desktop entry holds, with all its translations.
constexpr std::uint64_t kMaxEntryBytes = 16 << 20;
// An icon file, however detailed, is far smaller; and decoding one of these on the main
// thread is as much as it may cost (a picture of 4096 × 4096).
constexpr std::uint64_t kMaxIconFileBytes = 8 << 20;
constexpr qint64 kMaxIconDecodedBytes = 64 << 20;
// Larger pictures are kept no larger once read: no view draws an icon bigger.
constexpr int kMostIconSide = 512;

// Marks the images this backend made, so qIcon never reads another backend's native data.
struct QtIconImage {
    QIcon icon;
};

// The theme's name for a folder's icon, as file managers name the user's own folders.
QString folderIconName(const Path& path) {
    const std::string folder = normalizedPath(path);
    const Path home = g_get_home_dir();
    if (folder == normalizedPath(home)) return QStringLiteral("user-home");
    static constexpr std::pair<std::string_view, const char*> kSpecial[] = {
        {"XDG_DESKTOP_DIR", "user-desktop"},       {"XDG_DOCUMENTS_DIR", "folder-documents"},
        {"XDG_DOWNLOAD_DIR", "folder-download"},   {"XDG_MUSIC_DIR", "folder-music"},
        {"XDG_PICTURES_DIR", "folder-pictures"},   {"XDG_PUBLICSHARE_DIR", "folder-publicshare"},
        {"XDG_TEMPLATES_DIR", "folder-templates"}, {"XDG_VIDEOS_DIR", "folder-videos"},
    };
    UserDirs special = readUserDirsFile(configHome() / "user-dirs.dirs", home);
    // As GLib has it, the Desktop is there unless named elsewhere.
    special.try_emplace("XDG_DESKTOP_DIR", home + "/Desktop");
    for (const auto& [key, name] : kSpecial) {
        if (const auto named = special.find(key); named != special.end() && normalizedPath(named->second) == folder)
            return QString::fromLatin1(name);
    }
    return QStringLiteral("folder");
}

ImageHandle imageOf(QIcon icon) {
    if (icon.isNull()) return nullptr;
    auto image = std::make_shared<Image>();
    image->widthPx = image->heightPx = 256;
    image->native = std::make_shared<const QtIconImage>(QtIconImage{std::move(icon)});
    return image;
}

QImage pictureOf(const PixelBuffer& pixels) {
    return QImage(pixels.rgbaPremultiplied.data(), pixels.width, pixels.height, pixels.width * 4,
                  QImage::Format_RGBA8888_Premultiplied)
        .copy();
}

// The engine's pixmap for the painter's device pixels, centred in the box.
void paintCentred(QPainter& painter, const QRect& rect, QIconEngine& engine, QIcon::Mode mode, QIcon::State state) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QPixmap shown = engine.pixmap(rect.size() * ratio, mode, state);
    shown.setDevicePixelRatio(ratio);
    const QSizeF fitted = QSizeF(shown.size()) / ratio;
    painter.drawPixmap(QRectF(QPointF(rect.x() + (rect.width() - fitted.width()) / 2,
                                      rect.y() + (rect.height() - fitted.height()) / 2),
                              fitted),
                       shown, QRectF(shown.rect()));
}

// The pixmap as the mode shows it.
QPixmap inMode(QPixmap pixmap, QIcon::Mode mode) {
    if (mode != QIcon::Disabled || pixmap.isNull()) return pixmap;
    QStyleOption option;
    option.palette = QApplication::palette();
    return QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
}

// An icon of pictures in memory (a window's, a capture, a thumbnail) that keeps the pixmaps
// it hands out with itself. Qt's own engine for added pixmaps keeps each of them in the
// process-wide pixmap cache under a key of its own, so pictures of windows long gone would
// stay there, up to the cache's limit, while new ones come.
class PictureIconEngine final : public QIconEngine {
public:
    explicit PictureIconEngine(std::vector<QImage> pictures)
        : pictures_(std::make_shared<const std::vector<QImage>>(std::move(pictures))) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QImage* picture = nearest(size);
        if (!picture || size.isEmpty()) return {};
        const Key key{size.width(), size.height(), mode == QIcon::Disabled};
        if (const auto made = made_.find(key); made != made_.end()) return made->second;
        // Never larger than asked, as Qt's icons; the painter scales a small one up.
        QImage shown = picture->width() > size.width() || picture->height() > size.height()
                           ? picture->scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                           : *picture;
        const QPixmap pixmap = inMode(QPixmap::fromImage(std::move(shown)), mode);
        // A view asks for a size or two; a bound keeps a caller that asks for many sizes in check.
        if (made_.size() >= kMostSizes) made_.clear();
        made_.emplace(key, pixmap);
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        paintCentred(*painter, rect, *this, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const QImage* picture = nearest(size);
        if (!picture) return {};
        const QSize own = picture->size();
        return own.width() > size.width() || own.height() > size.height() ? own.scaled(size, Qt::KeepAspectRatio) : own;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const QImage& picture : *pictures_)
            sizes.append(picture.size());
        return sizes;
    }

    bool isNull() override { return pictures_->empty(); }
    QString key() const override { return QStringLiteral("quillbern.picture"); }
    QIconEngine* clone() const override { return new PictureIconEngine(pictures_); }

private:
    static constexpr std::size_t kMostSizes = 8;
    struct Key {
        int width;
        int height;
        bool disabled;
        auto operator<=>(const Key&) const = default;
    };

    explicit PictureIconEngine(std::shared_ptr<const std::vector<QImage>> pictures) : pictures_(std::move(pictures)) {}

    // The smallest picture that covers the size, else the largest.
    const QImage* nearest(const QSize& size) const {
        const QImage* best = nullptr;
        for (const QImage& picture : *pictures_) {
            const bool covers = picture.width() >= size.width() || picture.height() >= size.height();
            const bool bestCovers = best && (best->width() >= size.width() || best->height() >= size.height());
            const qint64 area = qint64(picture.width()) * picture.height();
            const qint64 bestArea = best ? qint64(best->width()) * best->height() : 0;
            if (!best || (covers && (!bestCovers || area < bestArea)) || (!covers && !bestCovers && area > bestArea))
                best = &picture;
        }
        return best;
    }

    std::shared_ptr<const std::vector<QImage>> pictures_;
    std::map<Key, QPixmap> made_;
};

// Pixmaps of the icons read from the theme or from files, at the sizes drawn, shared by
// every copy of the same source icon (ThemeIcons hands out one for each name). The source
// keeps no picture: only the sizes drawn stay, here, within a bound, never a theme's whole
// picture (the 512-pixel one where the theme has nothing nearer the size asked). A source
// read for a missing size is kept a moment for the next ones (a slider, an animation), then
// let go. Main thread.
class DrawnIconPixmaps {
public:
    struct Key {
        // The source icon's cache key.
        qint64 source;
        qint64 palette;
        int width;
        int height;
        int mode;
        int state;
        auto operator<=>(const Key&) const = default;
    };

    static DrawnIconPixmaps& shared() {
        static DrawnIconPixmaps pixmaps;
        // Pixmaps go before the application object, as Qt's own caches do.
        static const bool goesWithTheApplication = [] {
            qAddPostRoutine([] { pixmaps.clear(); });
            return true;
        }();
        (void)goesWithTheApplication;
        return pixmaps;
    }

    QPixmap pixmap(const Key& key, const QIcon& source, QIcon::Mode mode, QIcon::State state) {
        if (const auto kept = kept_.find(key); kept != kept_.end()) {
            uses_.splice(uses_.begin(), uses_, kept->second.use);
            return kept->second.pixmap;
        }
        QPixmap pixmap = loaded(key.source, source).pixmap(QSize(key.width, key.height), 1.0, mode, state);
        keep(key, pixmap);
        return pixmap;
    }

    // The source as it was just read, with the pictures it read, for the first sizes drawn.
    void lend(qint64 source, QIcon read) {
        sources_.insert_or_assign(source, std::move(read));
        armDrop();
    }

    void clear() {
        kept_.clear();
        uses_.clear();
        bytes_ = 0;
        sources_.clear();
    }

private:
    static constexpr qint64 kMostBytes = 2 * 1024 * 1024;
    static constexpr int kSourceKeptMs = 2000;

    struct Kept {
        QPixmap pixmap;
        std::list<Key>::iterator use;
    };

    // A copy of the source's own: what it loads goes with it, not with the icon kept.
    QIcon& loaded(qint64 name, const QIcon& source) {
        auto [at, added] = sources_.try_emplace(name, source);
        if (added) at->second.detach();
        armDrop();
        return at->second;
    }

    void armDrop() {
        if (dropArmed_ || !QCoreApplication::instance()) return;
        dropArmed_ = true;
        QTimer::singleShot(kSourceKeptMs, QCoreApplication::instance(), [this] {
            dropArmed_ = false;
            sources_.clear();
        });
    }

    void keep(const Key& key, const QPixmap& pixmap) {
        const qint64 cost = qint64(pixmap.width()) * pixmap.height() * 4;
        if (pixmap.isNull() || cost > kMostBytes / 4) return;
        while (bytes_ + cost > kMostBytes && !uses_.empty()) {
            const auto oldest = kept_.find(uses_.back());
            bytes_ -= qint64(oldest->second.pixmap.width()) * oldest->second.pixmap.height() * 4;
            kept_.erase(oldest);
            uses_.pop_back();
        }
        uses_.push_front(key);
        kept_.emplace(key, Kept{pixmap, uses_.begin()});
        bytes_ += cost;
    }

    std::map<Key, Kept> kept_;
    // Most recently drawn first.
    std::list<Key> uses_;
    qint64 bytes_ = 0;
    std::map<qint64, QIcon> sources_;
    bool dropArmed_ = false;
};

// An icon of the theme or of a file that draws through DrawnIconPixmaps.
class DrawnSizesIconEngine final : public QIconEngine {
public:
    // `source` is the icon of a theme's name or of a file; it is asked about sizes but never
    // drawn.
    explicit DrawnSizesIconEngine(QIcon source) : source_(std::move(source)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (size.isEmpty()) return {};
        const DrawnIconPixmaps::Key key{source_.cacheKey(), QGuiApplication::palette().cacheKey(),
                                        size.width(),       size.height(),
                                        int(mode),          int(state)};
        return DrawnIconPixmaps::shared().pixmap(key, source_, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        paintCentred(*painter, rect, *this, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return source_.actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return source_.availableSizes(mode, state);
    }
    QString iconName() override { return source_.name(); }
    bool isNull() override { return source_.isNull(); }
    QString key() const override { return QStringLiteral("quillbern.drawn"); }
    QIconEngine* clone() const override { return new DrawnSizesIconEngine(source_); }

private:
    QIcon source_;
};

// A theme's icon, or a file's, that keeps only the sizes drawn; `read` is the icon just read,
// whose pictures serve the first sizes drawn, a moment, and go.
QIcon drawnSizes(QIcon read) {
    if (read.isNull()) return {};
    // A copy of its own, which holds no picture read.
    QIcon source = read;
    source.detach();
    DrawnIconPixmaps::shared().lend(source.cacheKey(), std::move(read));
    return QIcon(new DrawnSizesIconEngine(std::move(source)));
}

// An icon of a picture file's bytes, read by the picture reader where it is drawn: a
// scalable picture at each size, any other whole once, by the copy DrawnIconPixmaps keeps of
// the icon a moment, so the whole picture goes with that copy.
class PictureFileIconEngine final : public QIconEngine {
public:
    // The icon of the picture the bytes hold; null when they hold none that can be drawn.
    static QIcon iconOf(const QByteArray& bytes) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        const QByteArray format = QImageReader(&buffer).format();
        auto* engine = new PictureFileIconEngine(bytes, format == "svg" || format == "svgz", {});
        const QIcon icon(engine);
        // Read once now, so a damaged picture is told here and not where it would be drawn;
        // a whole picture read serves the sizes this engine draws.
        const QImage trial = engine->read(engine->scalable_ ? kTrialSide : kMostIconSide);
        engine->shape_ = trial.size();
        if (!engine->scalable_) engine->whole_ = trial;
        return engine->shape_.isEmpty() ? QIcon() : icon;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        if (side <= 0) return {};
        if (scalable_) return inMode(QPixmap::fromImage(read(side)), mode);
        if (whole_.isNull()) whole_ = read(kMostIconSide);
        return inMode(QPixmap::fromImage(fittedTo(whole_, side)), mode);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        paintCentred(*painter, rect, *this, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        // Never larger than asked, as Qt's icons; a scalable picture fills the size.
        return scalable_ || shape_.width() > size.width() || shape_.height() > size.height()
                   ? shape_.scaled(size, Qt::KeepAspectRatio)
                   : shape_;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {shape_}; }
    bool isNull() override { return shape_.isEmpty(); }
    QString key() const override { return QStringLiteral("quillbern.pictureFile"); }
    QIconEngine* clone() const override { return new PictureFileIconEngine(bytes_, scalable_, shape_); }

private:
    static constexpr int kTrialSide = 64;

    PictureFileIconEngine(QByteArray bytes, bool scalable, QSize shape)
        : bytes_(std::move(bytes)), scalable_(scalable), shape_(shape) {}

    QImage read(int side) const {
        QBuffer buffer;
        buffer.setData(bytes_);
        buffer.open(QIODevice::ReadOnly);
        return readPicture(buffer, side, kMaxIconDecodedBytes);
    }

    QByteArray bytes_;
    bool scalable_;
    // The picture's size, within kMostIconSide; a scalable one's proportions.
    QSize shape_;
    QImage whole_;
};

// The icon of the picture file at `path`, read as every file of others is, so a FIFO, a
// device or a huge file in its place never holds the main thread; null when it cannot be
// drawn, whatever the reason.
QIcon pictureFileIcon(const Path& path) {
    const Result<std::string> bytes = readRegularFile(path, kMaxIconFileBytes);
    if (!bytes) return {};
    return PictureFileIconEngine::iconOf(QByteArray::fromStdString(bytes.value()));
}

// An icon of the theme: at each size the file of the name that suits it best, read as every
// picture file of others (pictureFileIcon); one that cannot be drawn is passed over for the
// next best. The files read go with the engine: DrawnIconPixmaps keeps a copy a moment.
class ThemeIconEngine final : public QIconEngine {
public:
    // The icon of the files, read until one can be drawn; null when none can.
    static QIcon iconOf(std::vector<ThemeIconFile> files) {
        auto* engine = new ThemeIconEngine(std::move(files));
        const QIcon icon(engine);
        return engine->fileFor(kTrialSide).isNull() ? QIcon() : icon;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const int side = std::min(size.width(), size.height());
        if (side <= 0) return {};
        const QIcon file = fileFor(side);
        return file.isNull() ? QPixmap() : file.pixmap(size, 1.0, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        paintCentred(*painter, rect, *this, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        const std::vector<const ThemeIconFile*> order = bestFirst(side);
        if (order.empty() || side <= 0) return {};
        // Never larger than asked, as Qt's icons; a scalable picture fills the size.
        const int own = std::clamp(side, order.front()->fewestPixels, order.front()->mostPixels);
        return QSize(own, own).boundedTo(size);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const ThemeIconFile& file : *files_) {
            if (file.fewestPixels == file.mostPixels) sizes.append(QSize(file.mostPixels, file.mostPixels));
        }
        return sizes;
    }
    bool isNull() override { return files_->empty(); }
    QString key() const override { return QStringLiteral("quillbern.theme"); }
    QIconEngine* clone() const override { return new ThemeIconEngine(files_); }

private:
    static constexpr int kTrialSide = 64;

    explicit ThemeIconEngine(std::vector<ThemeIconFile> files)
        : files_(std::make_shared<const std::vector<ThemeIconFile>>(std::move(files))) {}
    explicit ThemeIconEngine(std::shared_ptr<const std::vector<ThemeIconFile>> files) : files_(std::move(files)) {}

    // The files by how well they suit the side, those of the theme's earlier folders first
    // among equals.
    std::vector<const ThemeIconFile*> bestFirst(int side) const {
        std::vector<const ThemeIconFile*> order;
        for (const ThemeIconFile& file : *files_)
            order.push_back(&file);
        std::ranges::stable_sort(order, {}, [side](const ThemeIconFile* file) { return file->distanceTo(side); });
        return order;
    }

    QIcon fileFor(int side) {
        for (const ThemeIconFile* file : bestFirst(side)) {
            auto [read, added] = read_.try_emplace(file->path);
            if (added) read->second = pictureFileIcon(QFile::encodeName(file->path).toStdString());
            if (!read->second.isNull()) return read->second;
        }
        return {};
    }

    std::shared_ptr<const std::vector<ThemeIconFile>> files_;
    std::map<QString, QIcon> read_;
};

// Which themes Qt names and where it finds them.
struct QtThemeSettings {
    QString theme;
    QString fallback;
    QStringList baseFolders;
    QStringList fallbackFolders;
    bool operator==(const QtThemeSettings&) const = default;

    static QtThemeSettings now() {
        return {QIcon::themeName(), QIcon::fallbackThemeName(), QIcon::themeSearchPaths(),
                QIcon::fallbackSearchPaths()};
    }
};

// The icons of the themes Qt names, each name looked up and read once: an icon that cannot
// be drawn is none. Made again when Qt names other themes or folders, and when a name the
// index lacks is asked for while the themes' folders changed (an application was installed),
// which is looked at once in a while only. Main thread.
class ThemeIcons {
public:
    static ThemeIcons& current() {
        static std::optional<ThemeIcons> icons;
        QtThemeSettings settings = QtThemeSettings::now();
        if (!icons || icons->settings_ != settings) icons.emplace(std::move(settings));
        return *icons;
    }

    explicit ThemeIcons(QtThemeSettings settings) : settings_(std::move(settings)), index_(indexOf(settings_)) {}

    QIcon icon(const QString& name) {
        if (const auto known = icons_.find(name); known != icons_.end()) return known->second;
        std::vector<ThemeIconFile> files = index_.filesOf(name);
        const auto now = std::chrono::steady_clock::now();
        if (files.empty() && now - checked_ >= kCheckEvery) {
            checked_ = now;
            if (!index_.isCurrent()) {
                index_ = indexOf(settings_);
                icons_.clear();
                files = index_.filesOf(name);
            }
        }
        if (icons_.size() >= kMostNamesKept) icons_.clear();
        return icons_.emplace(name, drawnSizes(ThemeIconEngine::iconOf(std::move(files)))).first->second;
    }

private:
    static constexpr std::size_t kMostNamesKept = 4096;
    static constexpr auto kCheckEvery = std::chrono::seconds(2);

    static IconThemeIndex indexOf(const QtThemeSettings& settings) {
        // Qt's own pixmap folders, then the one beside each data folder's icons, as in /usr/share.
        QStringList pixmapFolders = settings.fallbackFolders;
        const QString icons = QStringLiteral("/icons");
        for (const QString& base : settings.baseFolders) {
            if (base.endsWith(icons)) pixmapFolders << base.chopped(icons.size()) + QStringLiteral("/pixmaps");
        }
        return IconThemeIndex({settings.theme, settings.fallback}, settings.baseFolders, std::move(pixmapFolders));
    }

    QtThemeSettings settings_;
    IconThemeIndex index_;
    std::map<QString, QIcon> icons_;
    std::chrono::steady_clock::time_point checked_ = std::chrono::steady_clock::now();
};

QIcon iconOf(GIcon* icon) {
    if (G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon)); name && *name; ++name) {
            if (QIcon themed = themeIconNamed(QString::fromUtf8(*name)); !themed.isNull()) return themed;
        }
    } else if (G_IS_FILE_ICON(icon)) {
        if (gchar* path = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)))) {
            const Path file = path;
            g_free(path);
            return drawnSizes(pictureFileIcon(file));
        }
    }
    return {};
}

QIcon pictureIcon(std::vector<QImage> pictures) {
    std::erase_if(pictures, [](const QImage& picture) { return picture.isNull(); });
    if (pictures.empty()) return {};
    return QIcon(new PictureIconEngine(std::move(pictures)));
}

}  // namespace

QtIcons::QtIcons(WindowPictures windowPictures) : windowPictures_(std::move(windowPictures)) {}

ImageHandle QtIcons::appIcon(const Path& appPath) const {
    // GIO reads the entry with an `open` that a FIFO in its place would hold for good.
    const Result<RegularFile> file = RegularFile::open(appPath, kMaxEntryBytes);
    struct stat facts {};
    if (!file || ::fstat(file.value().descriptor(), &facts) != 0) return nullptr;
    const EntryStamp stamp{facts.st_dev, facts.st_ino, facts.st_size, facts.st_mtim.tv_sec, facts.st_mtim.tv_nsec};
    if (const auto known = appIcons_.find(appPath); known != appIcons_.end() && known->second.stamp == stamp)
        return known->second.image;
    GDesktopAppInfo* entry = g_desktop_app_info_new_from_filename(appPath.c_str());
    QIcon icon;
    if (entry) {
        if (GIcon* declared = g_app_info_get_icon(G_APP_INFO(entry))) icon = iconOf(declared);
        g_object_unref(entry);
    }
    ImageHandle image = imageOf(std::move(icon));
    appIcons_.insert_or_assign(appPath, KnownIcon{stamp, image});
    return image;
}

ImageHandle QtIcons::fileIcon(const Path& path) const {
    struct stat facts;
    if (::stat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode)) return imageOf(folderIcon(path));
    // By the name alone: reading the file's first bytes could stall the main thread. GIO's
    // MIME database, which opening files uses too, rather than a second one of Qt's.
    QIcon icon;
    if (gchar* type = g_content_type_guess(path.c_str(), nullptr, 0, nullptr)) {
        if (GIcon* typeIcon = g_content_type_get_icon(type)) {
            icon = iconOf(typeIcon);
            g_object_unref(typeIcon);
        }
        g_free(type);
    }
    if (icon.isNull()) icon = themeIconNamed(QStringLiteral("text-x-generic"));
    return imageOf(std::move(icon));
}

ImageHandle QtIcons::runningAppIcon(Pid pid) const {
    if (!windowPictures_) return nullptr;
    // Every size, so each view draws from the one nearest its own.
    std::vector<QImage> pictures;
    for (const PixelBuffer& pixels : windowPictures_(pid))
        pictures.push_back(pictureOf(pixels));
    return imageOf(pictureIcon(std::move(pictures)));
}

ImageHandle QtIcons::genericAppIcon() const {
    return imageOf(symbolIcon("app.dashed"));
}

QIcon themeIconNamed(const QString& name) {
    return ThemeIcons::current().icon(name);
}

QIcon folderIcon(const Path& path) {
    for (const QString& name : {folderIconName(path), QStringLiteral("folder")}) {
        if (QIcon icon = themeIconNamed(name); !icon.isNull()) return icon;
    }
    return symbolIcon("folder");
}

QIcon trashIcon(bool full) {
    QStringList names{QStringLiteral("user-trash")};
    if (full) names.prepend(QStringLiteral("user-trash-full"));
    for (const QString& name : names) {
        if (QIcon icon = themeIconNamed(name); !icon.isNull()) return icon;
    }
    return symbolIcon("trash");
}

void useCommonIconThemeAsFallback() {
    const auto installed = [](const QString& theme) {
        return std::ranges::any_of(QIcon::themeSearchPaths(), [&theme](const QString& root) {
            return QFileInfo::exists(root + QLatin1Char('/') + theme + QStringLiteral("/index.theme"));
        });
    };
    const QString theme = QIcon::themeName();
    if (!theme.isEmpty() && theme != QStringLiteral("hicolor") && installed(theme)) return;
    if (const QString common = QStringLiteral("Adwaita"); installed(common)) QIcon::setFallbackThemeName(common);
}

void keepWholePicturesOutOfQtsPixmapCache() {
    // Below a picture of 362 × 362 pixels.
    QPixmapCache::setCacheLimit(512);
}

QIcon qIcon(const ImageHandle& image) {
    if (image && image->pixels) {
        // The picture's own pixels, kept alive by the icon rather than copied at every paint.
        const PixelBuffer& pixels = *image->pixels;
        auto* held = new ImageHandle(image);
        return pictureIcon({QImage(
            pixels.rgbaPremultiplied.data(), pixels.width, pixels.height, pixels.width * 4,
            QImage::Format_RGBA8888_Premultiplied, [](void* handle) { delete static_cast<ImageHandle*>(handle); },
            held)});
    }
    if (!image || !image->native) return {};
    // Only QtIcons puts a QtIconImage behind `native`; every image of the program comes from it.
    return std::static_pointer_cast<const QtIconImage>(image->native)->icon;
}

void paintIconFitted(QPainter& painter, const QRectF& box, const QIcon& icon) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap pixmap = icon.pixmap(box.size().toSize(), ratio);
    if (pixmap.isNull()) return;
    const QSizeF fitted = (QSizeF(pixmap.size()) / pixmap.devicePixelRatio()).scaled(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.center().x() - fitted.width() / 2, box.center().y() - fitted.height() / 2, fitted.width(),
                        fitted.height());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
    painter.restore();
}

}  // namespace quillbern
