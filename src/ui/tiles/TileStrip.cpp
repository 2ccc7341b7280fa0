#include "ui/tiles/TileStrip.h"

#include <QImage>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <map>

#include "core/tiles/DockMetrics.h"
#include "ui/tiles/BarStyle.h"
#include "ui/tiles/TileChrome.h"

namespace quillbern {

namespace {

// One notch of a wheel moves the strip by this much.
constexpr double kPointsPerNotch = 48;
constexpr double kWheelUnitsPerNotch = 120;

}  // namespace

TileStrip::TileStrip(RunLoop& mainLoop, const Clock& clock, QWidget* parent)
    : QWidget(parent),
      loop_(mainLoop),
      clock_(clock),
      fade_(mainLoop),
      ticker_(
          mainLoop, clock, [this](MediaTime now) { return isMoving(now); }, [this] { update(); }) {
    setMouseTracking(true);
    fadeObserver_ = fade_.changed.connect([this] {
        fadeMask_.animateTo(fade_.showsFade() ? 1 : 0, kFadeAnimation, clock_.mediaNow());
        ticker_.kick();
    });
}

TileStrip::~TileStrip() = default;

void TileStrip::setLook(const TileLook& look, bool vertical) {
    if (look == look_ && vertical == vertical_) return;
    look_ = look;
    vertical_ = vertical;
    measure();
    update();
}

void TileStrip::setTiles(std::vector<TileContent> pinned, bool separator, std::vector<TileContent> running) {
    std::map<std::string, std::unique_ptr<TileCell>> previous;
    for (std::unique_ptr<TileCell>& cell : cells_)
        previous.emplace(cell->key(), std::move(cell));
    cells_.clear();
    pinnedCount_ = pinned.size();
    separator_ = separator;
    const auto place = [&](std::vector<TileContent>& contents) {
        for (TileContent& content : contents) {
            const auto kept = previous.find(content.key);
            if (kept == previous.end()) {
                cells_.push_back(std::make_unique<TileCell>(std::move(content)));
                continue;
            }
            kept->second->setContent(std::move(content));
            cells_.push_back(std::move(kept->second));
            previous.erase(kept);
        }
    };
    place(pinned);
    place(running);
    if (pressed_ && *pressed_ >= cells_.size()) pressed_.reset();
    measure();
    update();
}

double TileStrip::along() const {
    return vertical_ ? height() : width();
}

double TileStrip::cross() const {
    return vertical_ ? width() : height();
}

double TileStrip::cellLength() const {
    return dockbar::cellLength(look_.tileSize, look_.showsLabels, vertical_);
}

double TileStrip::stripSpan() const {
    return dockbar::stripLength(cells_.size(), separator_, cellLength());
}

double TileStrip::stripStart() const {
    const double span = stripSpan();
    if (span <= along()) return (along() - span) / 2;
    return -offset_;
}

QPointF TileStrip::cellOrigin(std::size_t index) const {
    double position = stripStart() + static_cast<double>(index) * (cellLength() + dockbar::kCellGap);
    if (separator_ && index >= pinnedCount_) position += dockbar::separatorLength() + dockbar::kCellGap;
    const double crossLength = vertical_ ? look_.tileSize : dockbar::tileHeight(look_.tileSize, look_.showsLabels);
    const double crossStart = (cross() - crossLength) / 2;
    return vertical_ ? QPointF(crossStart, position) : QPointF(position, crossStart);
}

QRectF TileStrip::cellBox(std::size_t index) const {
    return {cellOrigin(index), TileChrome::size(look_.tileSize, look_.showsLabels)};
}

std::vector<QRectF> TileStrip::tileFrames() const {
    std::vector<QRectF> frames;
    for (std::size_t i = 0; i < cells_.size(); ++i)
        frames.push_back(cellBox(i));
    return frames;
}

std::optional<QRectF> TileStrip::separatorFrame() const {
    if (!separator_) return std::nullopt;
    const double before = pinnedCount_ > 0 ? static_cast<double>(pinnedCount_) * (cellLength() + dockbar::kCellGap) : 0;
    const double position = stripStart() + before + dockbar::kSeparatorPadding;
    const double length = look_.tileSize * dockbar::kSeparatorCrossShare;
    const double crossStart = (cross() - length) / 2;
    if (vertical_) return QRectF(crossStart, position, length, dockbar::kSeparatorThickness);
    return QRectF(position, crossStart, dockbar::kSeparatorThickness, length);
}

std::optional<std::size_t> TileStrip::cellAt(const QPointF& point) const {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        if (cellBox(i).contains(point)) return i;
    }
    return std::nullopt;
}

void TileStrip::measure() {
    setOffset(offset_);
    fade_.setScrollSpan(along());
    fade_.setStripSpan(stripSpan());
}

void TileStrip::setOffset(double offset) {
    offset_ = std::clamp(offset, 0.0, std::max(0.0, stripSpan() - along()));
}

void TileStrip::hoverAt(std::optional<QPointF> point) {
    const std::optional<std::size_t> hovered = point ? cellAt(*point) : std::nullopt;
    const MediaTime now = clock_.mediaNow();
    for (std::size_t i = 0; i < cells_.size(); ++i)
        cells_[i]->hover.animateTo(hovered == i ? 1 : 0, TileCell::kHoverAnimation, now);
    ticker_.kick();
}

bool TileStrip::isMoving(MediaTime now) const {
    if (fadeMask_.isMoving(now)) return true;
    return std::ranges::any_of(
        cells_, [now](const auto& cell) { return cell->hover.isMoving(now) || cell->press.isMoving(now); });
}

void TileStrip::resizeEvent(QResizeEvent*) {
    measure();
}

void TileStrip::mouseMoveEvent(QMouseEvent* event) {
    hoverAt(event->position());
}

void TileStrip::leaveEvent(QEvent*) {
    hoverAt(std::nullopt);
}

void TileStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressed_ = cellAt(event->position());
    if (pressed_) cells_[*pressed_]->press.animateTo(1, TileCell::kPressAnimation, clock_.mediaNow());
    ticker_.kick();
}

void TileStrip::mouseReleaseEvent(QMouseEvent*) {
    if (pressed_) cells_[*pressed_]->press.animateTo(0, TileCell::kPressAnimation, clock_.mediaNow());
    pressed_.reset();
    ticker_.kick();
}

void TileStrip::wheelEvent(QWheelEvent* event) {
    const QPoint pixels = event->pixelDelta();
    const QPoint units = event->angleDelta();
    const double delta =
        !pixels.isNull() ? pixels.x() + pixels.y() : (units.x() + units.y()) / kWheelUnitsPerNotch * kPointsPerNotch;
    const double before = offset_;
    setOffset(offset_ - delta);
    if (offset_ == before) {
        event->ignore();
        return;
    }
    hoverAt(event->position());
    update();
}

void TileStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const MediaTime now = clock_.mediaNow();
    const double mask = fadeMask_.value(now);
    if (mask <= 0) {
        paintStrip(painter, now);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QImage layer(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    QPainter layerPainter(&layer);
    paintStrip(layerPainter, now);
    applyFadeMask(layerPainter, mask);
    layerPainter.end();
    painter.drawImage(QPointF(0, 0), layer);
}

void TileStrip::paintStrip(QPainter& painter, MediaTime now) const {
    const QRectF visible(rect());
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        if (!cellBox(i).intersects(visible)) continue;
        cells_[i]->paint(painter, cellOrigin(i), look_, palette(), now);
    }
    if (const std::optional<QRectF> line = separatorFrame()) paintSeparator(painter, *line, palette());
}

void TileStrip::applyFadeMask(QPainter& painter, double progress) const {
    QLinearGradient gradient(0, 0, vertical_ ? 0 : along(), vertical_ ? along() : 0);
    const QColor ends = QColor::fromRgbF(0, 0, 0, static_cast<float>(1 - progress));
    gradient.setColorAt(0, ends);
    gradient.setColorAt(kFadeShare, Qt::black);
    gradient.setColorAt(1 - kFadeShare, Qt::black);
    gradient.setColorAt(1, ends);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.fillRect(rect(), gradient);
}

}  // namespace quillbern
