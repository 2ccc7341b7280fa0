#include "ui/dock/LaunchBeaconView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QtMath>
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
      direct_(*this),
      ticker_(
          frames, [this](MediaTime) { return anyLaunching(); }, [this] { redrawMovingRings(); },
          [this](MediaTime now) { return queuedUntil_.value_or(now); }) {
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

// The rest of the beacon stands still: a frame costs the ends of the moving arcs alone. A
// beacon's rings stop with a new view, which Qt paints.
void LaunchBeaconView::redrawMovingRings() {
    const MediaTime now = clock_.mediaNow();
    // A turn's frames come round again: the server shows them, queued ahead.
    queuedUntil_.reset();
    if (!content_.reduceMotion && anyLaunching()) {
        queuedUntil_ = direct_.queue(launchingArea(), turnRound(direct_.pixelRatio()), now);
        if (queuedUntil_) {
            lastRing_.reset();
            return;
        }
    }
    const std::optional<MediaTime> before = std::exchange(lastRing_, now);
    // The pulse's frames do not come again.
    std::optional<DirectFrames::Look> look;
    if (!content_.reduceMotion) {
        look = turnStep(now);
        if (before && turnStep(*before) == *look) return;
    }
    const qreal ratio = direct_.pixelRatio();
    for (std::size_t i = 0; i < content_.tiles.size(); ++i) {
        if (!content_.tiles[i].isLaunching) continue;
        const QRectF box = ringBox(i);
        const auto paintRing = [&](QPainter& painter, const QRect& part) {
            // The ring drawn only where it is put, and a pixel more.
            const QRectF inBox = QRectF(part).translated(-box.topLeft()).adjusted(-1, -1, 1, 1);
            const QRect pixels = QRectF(inBox.topLeft() * ratio, inBox.size() * ratio).toAlignedRect();
            const QImage ring = movingRing(now, ratio, pixels);
            painter.drawImage(box.topLeft() + QPointF(pixels.topLeft()) / ratio, ring);
        };
        if (!direct_.put(box.toAlignedRect(), ringChange(box, before, now), paintRing, look))
            update(box.toAlignedRect());
    }
}

int LaunchBeaconView::turnStep(MediaTime now) const {
    const double turns = std::max(now - shownAt_, 0.0) / kTurn;
    return static_cast<int>((turns - std::floor(turns)) * kTurnSteps) % kTurnSteps;
}

MediaTime LaunchBeaconView::timeOfStep(int step) const {
    return shownAt_ + (step + 0.5) * kTurn / kTurnSteps;
}

QRect LaunchBeaconView::launchingArea() const {
    QRect area;
    for (std::size_t i = 0; i < content_.tiles.size(); ++i) {
        if (content_.tiles[i].isLaunching) area |= ringBox(i).toAlignedRect();
    }
    return area;
}

DirectFrames::Round LaunchBeaconView::turnRound(qreal ratio) const {
    return {kTurnSteps, [this](MediaTime at) { return turnStep(at); },
            [this, ratio](QPainter& painter, int step) {
                const QImage ring = movingRing(timeOfStep(step), ratio);
                for (std::size_t i = 0; i < content_.tiles.size(); ++i) {
                    if (content_.tiles[i].isLaunching) painter.drawImage(ringBox(i).topLeft(), ring);
                }
            },
            [this](int from, int to) {
                QRegion change;
                for (std::size_t i = 0; i < content_.tiles.size(); ++i) {
                    if (content_.tiles[i].isLaunching)
                        change += ringChange(ringBox(i), timeOfStep(from), timeOfStep(to));
                }
                return change;
            }};
}

double LaunchBeaconView::arcStart(MediaTime now) const {
    return 90 - turnStep(now) * 360.0 / kTurnSteps;
}

QRegion LaunchBeaconView::ringChange(const QRectF& box, std::optional<MediaTime> before, MediaTime now) const {
    // Five frames' turn.
    constexpr double kLongestStep = 30;
    const QRect whole = box.toAlignedRect();
    if (content_.reduceMotion || !before) return whole;
    const double from = arcStart(*before);
    const double to = arcStart(now);
    if (std::abs(std::remainder(to - from, 360.0)) > kLongestStep) return whole;
    const double width = beacon::ringWidth(content_.tileSize);
    const double radius = (box.width() - width) / 2;
    // The round ends reach half the line's width; the line between two angles so near
    // bulges less than two pixels beyond their chord.
    const double reach = width / 2 + 3;
    QRegion change;
    for (const double end : {0.0, -kArcSpan}) {
        QRectF around;
        for (const double angle : {from + end, to + end}) {
            const QPointF at = box.center() + QPointF(radius * std::cos(qDegreesToRadians(angle)),
                                                      -radius * std::sin(qDegreesToRadians(angle)));
            around |= QRectF(at, at).adjusted(-reach, -reach, reach, reach);
        }
        change += around.toAlignedRect();
    }
    return change & whole;
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
    // Drawn again at each size while the beacon grows and fades: the full ring only if shown.
    QImage arrived;
    if (!std::ranges::all_of(content_.tiles, &BeaconTileContent::isLaunching))
        arrived = ringPicture(beacon::ringBox(size), ratio, width, qColor(content_.accent));
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

QImage LaunchBeaconView::movingRing(MediaTime now, qreal ratio, const std::optional<QRect>& drawn) const {
    const double size = content_.tileSize;
    QColor accent = qColor(content_.accent);
    const Duration elapsed = std::max(now - shownAt_, 0.0);
    if (content_.reduceMotion) {
        // Back and forth: out in the even passes, back in the odd ones.
        const double passes = elapsed / kPulse;
        const double within = passes - std::floor(passes);
        const bool outward = static_cast<long long>(std::floor(passes)) % 2 == 0;
        accent.setAlphaF(float(0.25 + 0.6 * easeInOutQuad(outward ? within : 1 - within)));
        return ringPicture(beacon::ringBox(size), ratio, beacon::ringWidth(size), accent, std::nullopt, drawn);
    }
    // An arc from the top, turning clockwise.
    const RingArc arc{arcStart(now), -kArcSpan};
    return ringPicture(beacon::ringBox(size), ratio, beacon::ringWidth(size), accent, arc, drawn);
}

// Qt hands a fill of many rows to its thread pool and waits for it: pictures are laid on in
// bands.
void LaunchBeaconView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect asked = event->rect();
    const QPixmap& picture = still();
    paintInBands(painter, asked, [&](QPainter& p) { p.drawPixmap(QPointF(0, 0), picture); });
    if (direct_.isTakingStill()) return;
    direct_.paintedByQt(event->region());
    if (!anyLaunching()) return;
    const QImage ring = movingRing(clock_.mediaNow(), devicePixelRatioF());
    for (std::size_t i = 0; i < content_.tiles.size(); ++i) {
        const QRectF box = ringBox(i);
        if (!content_.tiles[i].isLaunching || !box.intersects(asked)) continue;
        paintInBands(painter, box & QRectF(asked), [&](QPainter& p) { p.drawImage(box.topLeft(), ring); });
    }
}

}  // namespace quillbern
