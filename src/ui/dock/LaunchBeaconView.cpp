#include "ui/dock/LaunchBeaconView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "core/dock/BeaconMetrics.h"
#include "core/foundation/Localization.h"
#include "ui/dock/RingPicture.h"
#include "ui/foundation/OutsidePictures.h"
#include "ui/foundation/PaintBands.h"
#include "ui/foundation/QtIcons.h"
#include "ui/model/BarBackground.h"

namespace quillbern {

namespace {

QColor qColor(const Color& c) {
    return QColor::fromRgbF(float(c.r), float(c.g), float(c.b), float(c.a));
}

double easeInOutQuad(double t) {
    return t < 0.5 ? 2 * t * t : 1 - 2 * (1 - t) * (1 - t);
}

}  // namespace

LaunchBeaconView::LaunchBeaconView(BeaconContent content, FrameClock& frames, QWidget* parent)
    : QWidget(parent),
      content_(std::move(content)),
      clock_(frames.clock()),
      shownAt_(clock_.mediaNow()),
      ticker_(
          frames, [this](MediaTime) { return anyLaunching(); }, [this] { redrawMovingRings(); }) {
    setAttribute(Qt::WA_TranslucentBackground);
    QStringList labels;
    for (const BeaconTileContent& tile : content_.tiles) {
        labels << QString::fromStdString(trf("Launching %@…", tile.name));
    }
    setAccessibleName(labels.join(QStringLiteral(", ")));
    // The icons are drawn into the picture of what stands still: it is drawn again as
    // theirs arrive.
    OutsidePictures::shared().whenArrived(this, [this] {
        stillLook_.reset();
        update();
    });
    ticker_.kick();
}

QPainterPath LaunchBeaconView::outline() const {
    return slab().outline(QRectF(rect()));
}

SummonableSlab LaunchBeaconView::slab() const {
    return {content_.cornerRadius + 6, content_.reduceTransparency};
}

QRectF LaunchBeaconView::ringBox(std::size_t index) const {
    const double box = beacon::ringBox(content_.tileSize);
    const double x = beacon::kMargin + static_cast<double>(index) * (box + beacon::kTileSpacing);
    return {x, (height() - box) / 2, box, box};
}

bool LaunchBeaconView::anyLaunching() const {
    return std::ranges::any_of(content_.tiles, &BeaconTileContent::isLaunching);
}

// The rest of the beacon stands still: a frame costs the moving rings' squares alone.
void LaunchBeaconView::redrawMovingRings() {
    for (std::size_t i = 0; i < content_.tiles.size(); ++i) {
        if (content_.tiles[i].isLaunching) update(ringBox(i).toAlignedRect());
    }
}

const QPixmap& LaunchBeaconView::still() {
    const qreal ratio = devicePixelRatioF();
    const BackgroundPalette background = BackgroundPalette::current(content_.canBlend);
    const StillLook look{size(), ratio, background.window.rgba(), background.separator.rgba(),
                         palette().color(QPalette::WindowText).rgba()};
    if (stillLook_ != look) {
        still_ = QPixmap(size() * ratio);
        still_.setDevicePixelRatio(ratio);
        still_.fill(Qt::transparent);
        QPainter onPicture(&still_);
        paintStill(onPicture, background);
        stillLook_ = look;
    }
    return still_;
}

void LaunchBeaconView::paintStill(QPainter& painter, const BackgroundPalette& background) const {
    const QRectF bounds(rect());
    paintInBands(
        painter, bounds,
        [&](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing);
            slab().paint(p, bounds, background);
        },
        kCurveBandRows);
    const double size = content_.tileSize;
    const double width = beacon::ringWidth(size);
    const qreal ratio = painter.device()->devicePixelRatioF();
    QColor trackColour = palette().color(QPalette::WindowText);
    trackColour.setAlphaF(0.18f);
    const QImage track = ringPicture(beacon::ringBox(size), ratio, width, trackColour);
    const QImage arrived = ringPicture(beacon::ringBox(size), ratio, width, qColor(content_.accent));
    for (std::size_t i = 0; i < content_.tiles.size(); ++i) {
        const BeaconTileContent& tile = content_.tiles[i];
        const QRectF box = ringBox(i);
        paintInBands(painter, box, [&](QPainter& p) {
            // Theme icons and window pictures alike, as the dock's tiles draw them.
            if (const QIcon icon = qIcon(tile.icon); !icon.isNull()) {
                paintIconFitted(p, QRectF(box.center().x() - size / 2, box.center().y() - size / 2, size, size), icon);
            }
            p.drawImage(box.topLeft(), track);
            if (!tile.isLaunching) p.drawImage(box.topLeft(), arrived);
        });
    }
}

QImage LaunchBeaconView::movingRing(MediaTime now, qreal ratio) const {
    const double size = content_.tileSize;
    QColor accent = qColor(content_.accent);
    const Duration elapsed = std::max(now - shownAt_, 0.0);
    if (content_.reduceMotion) {
        // Back and forth: out in the even passes, back in the odd ones.
        const double passes = elapsed / kPulse;
        const double within = passes - std::floor(passes);
        const bool outward = static_cast<long long>(std::floor(passes)) % 2 == 0;
        accent.setAlphaF(float(0.25 + 0.6 * easeInOutQuad(outward ? within : 1 - within)));
        return ringPicture(beacon::ringBox(size), ratio, beacon::ringWidth(size), accent);
    }
    // An arc of 0.3 of the circle, from the top, turning clockwise.
    const double turns = elapsed / kTurn;
    const RingArc arc{90 - (turns - std::floor(turns)) * 360, -0.3 * 360};
    return ringPicture(beacon::ringBox(size), ratio, beacon::ringWidth(size), accent, arc);
}

// Qt hands a fill of many rows to its thread pool and waits for it: pictures are laid on in
// bands.
void LaunchBeaconView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect asked = event->rect();
    const QPixmap& picture = still();
    paintInBands(painter, asked, [&](QPainter& p) { p.drawPixmap(QPointF(0, 0), picture); });
    if (!anyLaunching()) return;
    const QImage ring = movingRing(clock_.mediaNow(), devicePixelRatioF());
    for (std::size_t i = 0; i < content_.tiles.size(); ++i) {
        const QRectF box = ringBox(i);
        if (!content_.tiles[i].isLaunching || !box.intersects(asked)) continue;
        paintInBands(painter, box & QRectF(asked), [&](QPainter& p) { p.drawImage(box.topLeft(), ring); });
    }
}

}  // namespace quillbern
