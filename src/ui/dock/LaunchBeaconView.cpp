#include "ui/dock/LaunchBeaconView.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QVariantAnimation>

#include "core/dock/BeaconMetrics.h"
#include "core/foundation/Localization.h"
#include "ui/foundation/QtIcons.h"
#include "ui/model/BarBackground.h"

namespace quillbern {

namespace {

QColor qColor(const Color& c) {
    return QColor::fromRgbF(float(c.r), float(c.g), float(c.b), float(c.a));
}

}  // namespace

LaunchBeaconView::LaunchBeaconView(BeaconContent content, QWidget* parent)
    : QWidget(parent), content_(std::move(content)), motion_(new QVariantAnimation(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    QStringList labels;
    for (const BeaconTileContent& tile : content_.tiles) {
        labels << QString::fromStdString(trf("Launching %@…", tile.name));
    }
    setAccessibleName(labels.join(QStringLiteral(", ")));
    // A full turn per second while spinning; a pulse back and forth with reduce motion.
    motion_->setStartValue(0.0);
    motion_->setEndValue(1.0);
    motion_->setDuration(content_.reduceMotion ? 900 : 1000);
    motion_->setEasingCurve(content_.reduceMotion ? QEasingCurve::InOutQuad : QEasingCurve::Linear);
    motion_->setLoopCount(-1);
    connect(motion_, &QVariantAnimation::valueChanged, this, [this] { update(); });
    if (content_.reduceMotion) {
        connect(motion_, &QVariantAnimation::currentLoopChanged, this, [this] {
            motion_->setDirection(motion_->direction() == QAbstractAnimation::Forward ? QAbstractAnimation::Backward
                                                                                      : QAbstractAnimation::Forward);
        });
    }
    motion_->start();
}

QPainterPath LaunchBeaconView::outline() const {
    return slab().outline(QRectF(rect()));
}

SummonableSlab LaunchBeaconView::slab() const {
    return {content_.cornerRadius + 6, content_.reduceTransparency};
}

void LaunchBeaconView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    slab().paint(painter, QRectF(rect()), BackgroundPalette::current(content_.canBlend));

    const double box = beacon::ringBox(content_.tileSize);
    double x = beacon::kMargin;
    for (const BeaconTileContent& tile : content_.tiles) {
        paintTile(painter, tile, QRectF(x, (height() - box) / 2, box, box));
        x += box + beacon::kTileSpacing;
    }
}

void LaunchBeaconView::paintTile(QPainter& painter, const BeaconTileContent& tile, const QRectF& ringBox) {
    const double size = content_.tileSize;
    // Theme icons and window pictures alike, as the dock's tiles draw them.
    if (const QIcon icon = qIcon(tile.icon); !icon.isNull()) {
        paintIconFitted(painter, QRectF(ringBox.center().x() - size / 2, ringBox.center().y() - size / 2, size, size),
                        icon);
    }
    const double width = beacon::ringWidth(size);
    // The ring's outer edge touches the box.
    const QRectF ring = ringBox.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    QColor track = palette().color(QPalette::WindowText);
    track.setAlphaF(0.18f);
    painter.setPen(QPen(track, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ring);

    QColor accent = qColor(content_.accent);
    const double phase = motion_->currentValue().toDouble();
    if (!tile.isLaunching) {
        painter.setPen(QPen(accent, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawEllipse(ring);
    } else if (content_.reduceMotion) {
        accent.setAlphaF(float(0.25 + 0.6 * phase));
        painter.setPen(QPen(accent, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawEllipse(ring);
    } else {
        // An arc of 0.3 of the circle, from the top, turning clockwise.
        painter.setPen(QPen(accent, width, Qt::SolidLine, Qt::RoundCap));
        const int start = int((90 - phase * 360) * 16);
        painter.drawArc(ring, start, int(-0.3 * 360 * 16));
    }
}

}  // namespace quillbern
