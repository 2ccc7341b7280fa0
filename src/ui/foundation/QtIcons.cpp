#include "ui/foundation/QtIcons.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOption>
#include <QVariant>
#include <algorithm>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <utility>

#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/Paths.h"
#include "core/foundation/RegularFile.h"
#include "core/platform/UserDirsFile.h"
#include "ui/foundation/OutsidePictures.h"
#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

// Far more than any desktop entry holds, with all its translations.
constexpr std::uint64_t kMaxEntryBytes = 16 << 20;

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

// An icon whose pictures are read to any size asked for, filling it as a scalable one does
// (the views fit it); what it draws is its `scaledPixmap`'s.
class ReadToSizeIconEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        paintCentred(*painter, rect, *this, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }
    bool isNull() override { return false; }
};

// An icon of a picture from outside: what OutsidePictures has read of it at each size, and
// the stand-in while it is read and where none can be drawn.
class OutsidePictureIconEngine final : public ReadToSizeIconEngine {
public:
    OutsidePictureIconEngine(PictureSource source, QIcon standIn)
        : source_(std::move(source)), standIn_(std::move(standIn)) {}

    // `size` in pixels, drawn for `scale`.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        if (size.isEmpty()) return {};
        bool unreadable = false;
        const QPixmap read = OutsidePictures::shared().pixmap(source_, size, std::max(1, qRound(scale)), unreadable);
        if (!read.isNull()) return inMode(read, mode);
        return standIn_.isNull() ? QPixmap() : standIn_.pixmap(size, 1.0, mode, state);
    }

    QString key() const override { return QStringLiteral("quillbern.outside"); }
    QIconEngine* clone() const override { return new OutsidePictureIconEngine(source_, standIn_); }

private:
    PictureSource source_;
    QIcon standIn_;
};

// What a steady icon shows, shared by its copies.
struct SteadyChoice {
    QStringList names;
    QIcon own;
    // The themes Qt named when the choice was made.
    int themes = -1;
    // The names before this one have no picture that can be drawn; past the last, `own` is chosen.
    qsizetype tried = 0;
    // The chosen name's picture as last drawn, null while none is chosen: it stands in for a
    // size being read, or one that cannot be drawn.
    QPixmap drawn;
};

class SteadyThemeIconEngine final : public ReadToSizeIconEngine {
public:
    explicit SteadyThemeIconEngine(std::shared_ptr<SteadyChoice> choice) : choice_(std::move(choice)) {}

    // `size` in pixels, drawn for `scale`.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        if (size.isEmpty()) return {};
        SteadyChoice& choice = *choice_;
        OutsidePictures& pictures = OutsidePictures::shared();
        if (const int themes = pictures.themeChanges(); themes != choice.themes) {
            choice.themes = themes;
            choice.tried = 0;
            choice.drawn = {};
        }
        for (; choice.tried < choice.names.size(); ++choice.tried) {
            bool unreadable = false;
            const QPixmap read = picture(choice.tried, size, scale, unreadable);
            if (!read.isNull()) {
                choice.drawn = read;
                return inMode(read, mode);
            }
            if (!choice.drawn.isNull())
                return inMode(choice.drawn.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation), mode);
            if (!unreadable) {
                // The names after it are read meanwhile, so that the choice takes one round.
                for (qsizetype later = choice.tried + 1; later < choice.names.size(); ++later)
                    picture(later, size, scale, unreadable);
                return {};
            }
        }
        return choice.own.pixmap(size, 1.0, mode, state);
    }

    QString key() const override { return QStringLiteral("quillbern.steady"); }
    QIconEngine* clone() const override { return new SteadyThemeIconEngine(choice_); }

private:
    QPixmap picture(qsizetype name, const QSize& size, qreal scale, bool& unreadable) const {
        return OutsidePictures::shared().pixmap({.file = {}, .names = {choice_->names.at(name)}}, size,
                                                std::max(1, qRound(scale)), unreadable);
    }

    std::shared_ptr<SteadyChoice> choice_;
};

QIcon outsidePicture(PictureSource source, QIcon standIn) {
    return QIcon(new OutsidePictureIconEngine(std::move(source), std::move(standIn)));
}

// Where the icon GIO names is found: its theme names, or its file.
PictureSource sourceOf(GIcon* icon) {
    PictureSource source;
    if (G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon)); name && *name; ++name)
            source.names << QString::fromUtf8(*name);
    } else if (G_IS_FILE_ICON(icon)) {
        if (gchar* path = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)))) {
            source.file = QFile::decodeName(path);
            g_free(path);
        }
    }
    return source;
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
    auto known = appIcons_.find(appPath);
    if (known == appIcons_.end() || known->second.stamp != stamp) {
        PictureSource source;
        if (GDesktopAppInfo* entry = g_desktop_app_info_new_from_filename(appPath.c_str())) {
            if (GIcon* declared = g_app_info_get_icon(G_APP_INFO(entry))) source = sourceOf(declared);
            g_object_unref(entry);
        }
        ImageHandle image = source.file.isEmpty() && source.names.isEmpty()
                                ? nullptr
                                : imageOf(outsidePicture(source, symbolIcon("app.dashed")));
        known =
            appIcons_.insert_or_assign(appPath, KnownIcon{stamp, source.file, source.names, std::move(image)}).first;
    }
    // An icon that is nowhere is none, so the window's own picture may stand for it; one that
    // turns out not to be drawable shows the generic picture. Whether it is somewhere is asked
    // each time, as an application installed meanwhile may have brought it.
    const KnownIcon& icon = known->second;
    struct stat picture {};
    const bool somewhere =
        icon.file.isEmpty()
            ? !icon.names.isEmpty() && OutsidePictures::shared().themesList(icon.names) != false
            : ::stat(QFile::encodeName(icon.file).constData(), &picture) == 0 && S_ISREG(picture.st_mode);
    return somewhere ? icon.image : nullptr;
}

ImageHandle QtIcons::fileIcon(const Path& path) const {
    struct stat facts;
    if (::stat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode)) return imageOf(folderIcon(path));
    // By the name alone: reading the file's first bytes could stall the main thread. GIO's
    // MIME database, which opening files uses too, rather than a second one of Qt's.
    QStringList names;
    if (gchar* type = g_content_type_guess(path.c_str(), nullptr, 0, nullptr)) {
        if (GIcon* typeIcon = g_content_type_get_icon(type)) {
            names = sourceOf(typeIcon).names;
            g_object_unref(typeIcon);
        }
        g_free(type);
    }
    names << QStringLiteral("text-x-generic");
    return imageOf(themeIcon(names, symbolIcon("doc")));
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

Subscription QtIcons::onChanged(Task changed) const {
    return OutsidePictures::shared().onPicturesChanged(std::move(changed));
}

QIcon themeIcon(const QStringList& names, const QIcon& standIn) {
    if (names.isEmpty()) return standIn;
    return outsidePicture({.file = {}, .names = names}, standIn);
}

QIcon steadyThemeIcon(const QStringList& names, const QIcon& own) {
    if (names.isEmpty()) return own;
    auto choice = std::make_shared<SteadyChoice>();
    choice->names = names;
    choice->own = own;
    return QIcon(new SteadyThemeIconEngine(std::move(choice)));
}

QIcon folderIcon(const Path& path) {
    return themeIcon({folderIconName(path), QStringLiteral("folder")}, symbolIcon("folder"));
}

QIcon trashIcon(bool full) {
    QStringList names{QStringLiteral("user-trash")};
    if (full) names.prepend(QStringLiteral("user-trash-full"));
    return themeIcon(names, symbolIcon("trash"));
}

void showIconIn(QLabel& label, const QIcon& icon, int side) {
    // The label's latest icon, which it shows again as pictures arrive.
    static constexpr const char* kShown = "quillbern.shownIcon";
    const bool followed = label.property(kShown).isValid();
    label.setProperty(kShown, QVariant::fromValue(std::pair(icon, side)));
    const auto show = [&label] {
        const auto [shown, shownSide] = label.property(kShown).value<std::pair<QIcon, int>>();
        label.setPixmap(shown.pixmap(QSize(shownSide, shownSide), label.devicePixelRatioF()));
    };
    show();
    if (!followed) OutsidePictures::shared().whenArrived(&label, show);
}

void searchIconFoldersMadeLater() {
    QStringList paths = QIcon::themeSearchPaths();
    // Each missing one goes before the next of the XDG order that Qt searches, else before
    // Qt's own resources.
    qsizetype next =
        std::ranges::find_if(paths, [](const QString& path) { return path.startsWith(QLatin1Char(':')); }) -
        paths.begin();
    const QStringList data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    bool added = false;
    for (auto folder = data.rbegin(); folder != data.rend(); ++folder) {
        const QString icons = QDir::cleanPath(*folder + QStringLiteral("/icons"));
        const auto searched =
            std::ranges::find_if(paths, [&icons](const QString& path) { return QDir::cleanPath(path) == icons; });
        if (searched != paths.end()) {
            next = std::min(next, qsizetype(searched - paths.begin()));
            continue;
        }
        paths.insert(next, icons);
        added = true;
    }
    if (added) QIcon::setThemeSearchPaths(paths);
}

void indexIconThemes() {
    OutsidePictures::shared().themesList({});
}

void lookForInstalledIcons() {
    OutsidePictures::shared().lookForInstalledPictures();
}

bool stopReadingPictures() {
    return OutsidePictures::shared().stop();
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
