#include "ui/foundation/QtIcons.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <memory>
#include <sys/stat.h>

namespace quillbern {

namespace {

// Marks the images this backend made, so qIcon never reads another backend's native data.
struct QtIconImage {
    QIcon icon;
};

QIcon iconOf(GIcon* icon) {
    if (G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon)); name && *name; ++name) {
            const QString themed = QString::fromUtf8(*name);
            if (QIcon::hasThemeIcon(themed)) return QIcon::fromTheme(themed);
        }
    } else if (G_IS_FILE_ICON(icon)) {
        if (gchar* path = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)))) {
            QIcon fromFile(QString::fromUtf8(path));
            g_free(path);
            return fromFile;
        }
    }
    return {};
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

}  // namespace

QtIcons::QtIcons(WindowPictures windowPictures) : windowPictures_(std::move(windowPictures)) {}

ImageHandle QtIcons::appIcon(const Path& appPath) const {
    GDesktopAppInfo* entry = g_desktop_app_info_new_from_filename(appPath.c_str());
    if (!entry) return nullptr;
    QIcon icon;
    if (GIcon* declared = g_app_info_get_icon(G_APP_INFO(entry))) icon = iconOf(declared);
    g_object_unref(entry);
    return imageOf(std::move(icon));
}

ImageHandle QtIcons::fileIcon(const Path& path) const {
    QStringList names;
    struct stat facts;
    if (::stat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode)) {
        names = {QStringLiteral("folder")};
    } else {
        // By the name alone: reading the file's first bytes could stall the main thread.
        const QMimeType type =
            QMimeDatabase().mimeTypeForFile(QFile::decodeName(path.c_str()), QMimeDatabase::MatchExtension);
        names = {type.iconName(), type.genericIconName(), QStringLiteral("text-x-generic")};
    }
    for (const QString& name : names) {
        if (QIcon::hasThemeIcon(name)) return imageOf(QIcon::fromTheme(name));
    }
    return nullptr;
}

ImageHandle QtIcons::runningAppIcon(Pid pid) const {
    if (!windowPictures_) return nullptr;
    // Every size, so each view draws from the one nearest its own.
    QIcon icon;
    for (const PixelBuffer& pixels : windowPictures_(pid))
        icon.addPixmap(QPixmap::fromImage(pictureOf(pixels)));
    return imageOf(std::move(icon));
}

ImageHandle QtIcons::genericAppIcon() const {
    return imageOf(QIcon::fromTheme(QStringLiteral("application-x-executable")));
}

void useCommonIconThemeAsFallback() {
    const QString theme = QIcon::themeName();
    if (!theme.isEmpty() && theme != QStringLiteral("hicolor")) return;
    const QString common = QStringLiteral("Adwaita");
    for (const QString& root : QIcon::themeSearchPaths()) {
        if (QFileInfo::exists(root + QLatin1Char('/') + common + QStringLiteral("/index.theme"))) {
            QIcon::setFallbackThemeName(common);
            return;
        }
    }
}

QIcon qIcon(const ImageHandle& image) {
    if (image && image->pixels) return QIcon(QPixmap::fromImage(pictureOf(*image->pixels)));
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
