#include "ui/tiles/FileCell.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTextLayout>
#include <vector>

#include "core/foundation/Localization.h"
#include "core/tiles/ThumbnailCache.h"
#include "ui/foundation/ModelMenu.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"

namespace quillbern {

namespace {

constexpr int kPadding = 4;
constexpr int kSpacing = 5;
constexpr int kNameHeight = 26;
constexpr int kNameLines = 2;
constexpr double kCornerRadius = 8;
constexpr double kPictureRadius = 4;
constexpr double kHoverOpacity = 0.08;

QFont nameFont() {
    QFont font;
    font.setPixelSize(10);
    return font;
}

// The text broken into lines of the width, anywhere a word does not fit.
QStringList wrapped(const QString& text, const QFont& font, double width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// At most two lines; a longer name keeps its beginning and its end around an ellipsis.
QStringList nameInLines(const QString& name, const QFont& font, double width) {
    QStringList lines = wrapped(name, font, width);
    if (lines.size() <= kNameLines) return lines;
    const QString ellipsis(QChar(0x2026));
    for (qsizetype keep = name.size() - 1; keep > 1; --keep) {
        const qsizetype head = (keep + 1) / 2;
        const QString shortened = name.left(head) + ellipsis + name.right(keep - head);
        lines = wrapped(shortened, font, width);
        if (lines.size() <= kNameLines) return lines;
    }
    return {ellipsis};
}

double sharpestScale() {
    std::vector<double> scales;
    for (const QScreen* screen : QGuiApplication::screens())
        scales.push_back(screen->devicePixelRatio());
    return ThumbnailCache::scaleFor(scales);
}

}  // namespace

FileCell::FileCell(LocationEntry entry, ThumbnailCache& thumbnails, QWidget* parent)
    : QAbstractButton(parent), entry_(std::move(entry)), thumbnails_(thumbnails) {
    icon_ = qIcon(QtIcons().fileIcon(entry_.path));
    setToolTip(toolTipAsWritten(QString::fromStdString(entry_.name)));
    setAccessibleName(QString::fromStdString(entry_.name));
    setFixedSize(kWidth, kHeight);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onOpen) onOpen();
    });
}

FileCell::~FileCell() {
    cancelThumbnail();
}

QSize FileCell::sizeHint() const {
    return {kWidth, kHeight};
}

void FileCell::setEntry(LocationEntry entry) {
    const bool newContent = entry.modified != entry_.modified || entry.path != entry_.path;
    entry_ = std::move(entry);
    setToolTip(toolTipAsWritten(QString::fromStdString(entry_.name)));
    setAccessibleName(QString::fromStdString(entry_.name));
    if (newContent) {
        cancelThumbnail();
        thumbnail_ = QIcon();
        if (inView_) requestThumbnail();
    }
    update();
}

void FileCell::setInView(bool inView) {
    if (inView == inView_) return;
    inView_ = inView;
    if (inView_) {
        if (thumbnail_.isNull()) requestThumbnail();
    } else {
        cancelThumbnail();
    }
}

void FileCell::requestThumbnail() {
    if (loading_) return;
    CancelToken token;
    loading_ = token;
    thumbnails_.thumbnail(entry_.path, entry_.modified, kPicture, sharpestScale(), token,
                          [this, token](ImageHandle image) {
                              // Asked again or gone out of view meanwhile: the token says so.
                              if (token.isCancelled()) return;
                              loading_.reset();
                              thumbnail_ = qIcon(image);
                              update();
                          });
}

void FileCell::cancelThumbnail() {
    if (loading_) loading_->cancel();
    loading_.reset();
}

QRect FileCell::nameBox() const {
    return {0, kPadding + kPicture + kSpacing, kWidth, kNameHeight};
}

QStringList FileCell::nameLines() const {
    return nameInLines(QString::fromStdString(entry_.name), nameFont(), kWidth);
}

void FileCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (hovered_) {
        QColor fill = palette().color(QPalette::WindowText);
        fill.setAlphaF(kHoverOpacity);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    }
    const QRectF box((kWidth - kPicture) / 2.0, kPadding, kPicture, kPicture);
    if (!thumbnail_.isNull()) {
        const QSize fitted =
            thumbnail_.actualSize(QSize(kPicture, kPicture) * devicePixelRatioF()) / devicePixelRatioF();
        const QSizeF shown = QSizeF(fitted).scaled(box.size(), Qt::KeepAspectRatio);
        const QRectF picture(box.center().x() - shown.width() / 2, box.center().y() - shown.height() / 2, shown.width(),
                             shown.height());
        QPainterPath outline;
        outline.addRoundedRect(picture, kPictureRadius, kPictureRadius);
        // A faint shadow lifts the picture off the popover.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 64));
        painter.drawPath(outline.translated(0, 0.5));
        painter.save();
        painter.setClipPath(outline);
        painter.drawPixmap(picture.toRect(), thumbnail_.pixmap(shown.toSize(), devicePixelRatioF()));
        painter.restore();
    } else {
        paintIconFitted(painter, box, icon_);
    }
    painter.setFont(nameFont());
    painter.setPen(palette().color(QPalette::WindowText));
    const QStringList lines = nameLines();
    const QFontMetricsF metrics(nameFont());
    QRectF line = nameBox();
    line.setHeight(metrics.height());
    for (const QString& text : lines) {
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
        line.translate(0, metrics.height());
    }
}

void FileCell::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void FileCell::leaveEvent(QEvent*) {
    hovered_ = false;
    update();
}

void FileCell::contextMenuEvent(QContextMenuEvent* event) {
    MenuModel model;
    model.add(quillbern::tr("Show in File Manager"), [this] {
        if (onReveal) onReveal();
    });
    auto* menu = new ModelMenu(model, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace quillbern
