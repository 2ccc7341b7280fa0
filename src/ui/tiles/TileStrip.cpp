#include "ui/tiles/TileStrip.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <ranges>
#include <utility>

#include "core/tiles/DockMetrics.h"
#include "ui/foundation/PaintBands.h"
#include "ui/foundation/QtText.h"
#include "ui/tiles/BarStyle.h"
#include "ui/tiles/TileChrome.h"
#include "ui/tiles/TileStripAccessible.h"

namespace quillbern {

namespace {

// One notch of a wheel moves the strip by this much.
constexpr double kPointsPerNotch = 48;
constexpr double kWheelUnitsPerNotch = 120;

}  // namespace

TileStrip::TileStrip(FrameClock& frames, QWidget* parent)
    : QWidget(parent),
      loop_(frames.loop()),
      clock_(frames.clock()),
      fade_(frames.loop()),
      direct_(*this),
      ticker_(
          frames, [this](MediaTime now) { return isMoving(now); }, [this] { redrawFrame(); },
          [this](MediaTime now) { return nextChange(now); }) {
    setMouseTracking(true);
    installTileStripAccessibility();
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
    dirty_ += rect();
    ticker_.kick();
}

void TileStrip::setTiles(std::vector<TileContent> pinned, bool separator, std::vector<TileContent> running) {
    const MediaTime now = clock_.mediaNow();
    const double startBefore = stripStart();
    std::vector<std::string> keysBefore;
    std::map<std::string, std::unique_ptr<TileCell>> previous;
    for (std::unique_ptr<TileCell>& cell : cells_) {
        keysBefore.push_back(cell->key());
        previous.emplace(cell->key(), std::move(cell));
    }
    cells_.clear();
    const std::size_t pinnedBefore = std::exchange(pinnedCount_, pinned.size());
    const bool separatorBefore = std::exchange(separator_, separator);
    // Windows that come, go and move change a dock's content many times a second, mostly
    // without changing what it draws, or only past the end it shows; each repaint may wait
    // for the X server.
    std::vector<std::size_t> restyled;
    const auto place = [&](std::vector<TileContent>& contents) {
        for (TileContent& content : contents) {
            const auto kept = previous.find(content.key);
            if (kept == previous.end()) {
                cells_.push_back(std::make_unique<TileCell>(std::move(content), now));
                continue;
            }
            if (kept->second->setContent(std::move(content), now)) restyled.push_back(cells_.size());
            cells_.push_back(std::move(kept->second));
            previous.erase(kept);
        }
    };
    place(pinned);
    place(running);
    const bool looksChanged = !restyled.empty() || pinnedBefore != pinnedCount_ || separatorBefore != separator_ ||
                              !std::ranges::equal(keysBefore, cells_, {}, {}, &TileCell::key);
    if (!cellWithKey(pressed_)) pressed_.reset();
    if (hovered_ && !cellWithKey(hovered_)) {
        // The tile went from under the pointer: its hover ends with it.
        const auto gone = previous.find(*hovered_);
        hovered_.reset();
        if (gone != previous.end() && gone->second->content().hover) gone->second->content().hover(false);
    }
    if (looksChanged) {
        measure();
        dirty_ += changedArea(keysBefore, startBefore, pinnedBefore, separatorBefore, restyled);
        ticker_.kick();
    }
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

QRegion TileStrip::changedArea(const std::vector<std::string>& keysBefore, double startBefore, std::size_t pinnedBefore,
                               bool separatorBefore, const std::vector<std::size_t>& restyled) const {
    // A centred strip that changed length, or a scroll held within a shorter one: every tile moved.
    if (stripStart() != startBefore) return rect();
    std::size_t first = 0;
    while (first < keysBefore.size() && first < cells_.size() && keysBefore[first] == cells_[first]->key())
        ++first;
    if (pinnedBefore != pinnedCount_ || separatorBefore != separator_)
        first = std::min({first, pinnedBefore, pinnedCount_});
    QRegion area;
    if (first < std::max(keysBefore.size(), cells_.size())) {
        // The tiles from the first that changed place on, to the end of the scroll area.
        const QRectF from = drawnArea(first, false);
        area += vertical_ ? QRectF(0, from.top(), width(), height() - from.top()).toAlignedRect()
                          : QRectF(from.left(), 0, width() - from.left(), height()).toAlignedRect();
    }
    for (const std::size_t index : restyled) {
        if (index < first) area += drawnArea(index, mayShowBadge(index)).toAlignedRect();
    }
    return area & rect();
}

void TileStrip::redrawFrame() {
    const MediaTime now = clock_.mediaNow();
    // What moved into the last frame is drawn once more, at rest.
    const auto moves = [&](const auto& value) {
        return value.isMoving(now) || (lastFrame_ && value.isMoving(*lastFrame_));
    };
    QRegion area = std::exchange(dirty_, QRegion());
    queuedCell_.reset();
    queuedUntil_.reset();
    bool queueAsked = false;
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const TileCell& cell = *cells_[i];
        if (!moves(cell)) continue;
        // What Qt paints anyway is not put: a frame kept from before would show there meanwhile.
        const bool bounceAlone = lastFrame_ && !cell.isMovingBesidesBounce(now) &&
                                 !cell.isMovingBesidesBounce(*lastFrame_) && !area.intersects(bounceArea(i));
        if (bounceAlone && !queueAsked && cell.bounce.isBouncing()) {
            queueAsked = true;
            if ((queuedUntil_ = queueBounce(i, now))) {
                queuedCell_ = i;
                continue;
            }
        }
        area +=
            bounceAlone ? redrawBounce(i, *lastFrame_, now) : QRegion(drawnArea(i, mayShowBadge(i)).toAlignedRect());
    }
    // A queue no longer asked for goes, and Qt paints where it showed.
    if (!queueAsked) {
        if (const std::optional<QRect> shown = direct_.stopQueue()) area += *shown;
    }
    if (moves(fadeMask_)) {
        const Bands ends = bands();
        area += ends.start;
        area += ends.end;
    }
    lastFrame_ = now;
    area &= rect();
    if (!area.isEmpty()) update(area);
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

QRectF TileStrip::drawnArea(std::size_t index, bool badge) const {
    const double margin = cellLength();
    const double reach = badge ? std::max(margin, badgeRoom(index) / 2) : margin;
    return cellBox(index).adjusted(-reach, -margin, reach, margin);
}

QRectF TileStrip::restingIcon(std::size_t index) const {
    // A pixel more all round for the icon's smoothed edges and whole pixels.
    return TileChrome::iconBox(cellOrigin(index), look_.tileSize).adjusted(-1, -1, 1, 1);
}

QRect TileStrip::bounceArea(std::size_t index) const {
    const QRectF icon = restingIcon(index);
    return (icon | icon.translated(look_.bounceVector)).toAlignedRect() & rect();
}

QRegion TileStrip::redrawBounce(std::size_t index, MediaTime before, MediaTime now) {
    const TileCell& cell = *cells_[index];
    const QRect area = bounceArea(index);
    // Qt paints the frame at rest, so that its backing store holds the icon where it stays.
    if (!cell.bounce.isMoving(now)) return area;
    const qreal ratio = direct_.pixelRatio();
    const QPointF from = cell.bounceOffset(look_, before, ratio);
    const QPointF to = cell.bounceOffset(look_, now, ratio);
    if (from == to) return {};
    // What stands still there is taken without the tile, which each frame draws whole. A
    // frame puts the whole area, which the server keeps for each of the icon's few places.
    const QPoint place = (to * ratio).toPoint();
    const DirectFrames::Look look = (DirectFrames::Look{place.x()} << 32) | static_cast<std::uint32_t>(place.y());
    const bool put = !isBounceDrawnOver(index, now) &&
                     direct_.put(
                         area, area,
                         [&](QPainter& p, const QRect&) {
                             cell.paint(p, cellOrigin(index), look_, palette(), now, badgeRoom(index));
                         },
                         look);
    return put ? QRegion() : QRegion(area);
}

std::optional<MediaTime> TileStrip::queueBounce(std::size_t index, MediaTime now) {
    const qreal ratio = direct_.pixelRatio();
    const QPointF reach = look_.bounceVector * ratio;
    const auto steps = static_cast<int>(std::lround(std::max(std::abs(reach.x()), std::abs(reach.y()))));
    if (steps == 0 || isBounceDrawnOver(index, now)) return std::nullopt;
    const TileCell& cell = *cells_[index];
    const QRect area = bounceArea(index);
    const DirectFrames::Round places{
        steps + 1, [&](MediaTime at) { return static_cast<int>(std::lround(cell.bounce.value(at) * steps)); },
        [&](QPainter& p, int place) {
            cell.paint(p, cellOrigin(index), look_, palette(), now, badgeRoom(index), double(place) / steps);
        },
        [&](int, int) { return QRegion(area); }};
    return direct_.queue(area, places, now);
}

bool TileStrip::isBounceDrawnOver(std::size_t index, MediaTime now) const {
    const QRect area = bounceArea(index);
    return (fadeMask_.value(now) > 0 && !bands().middle.contains(area)) ||
           std::ranges::any_of(std::views::iota(std::size_t{0}, cells_.size()), [&](std::size_t other) {
               return other != index && cells_[other]->hover.value(now) > 0 &&
                      drawnArea(other, mayShowBadge(other)).intersects(area);
           });
}

bool TileStrip::mayShowBadge(std::size_t index) const {
    return !look_.showsLabels && cells_[index]->content().showsHoverBadge;
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

std::optional<std::size_t> TileStrip::cellWithKey(const std::optional<std::string>& key) const {
    if (!key) return std::nullopt;
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        if (cells_[i]->key() == *key) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> TileStrip::hoveredCell() const {
    return cellWithKey(hovered_);
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
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    const std::size_t hovered = point ? cellAt(*point).value_or(kNone) : kNone;
    const MediaTime now = clock_.mediaNow();
    std::optional<std::string> key;
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        cells_[i]->hover.animateTo(hovered == i ? 1 : 0, TileCell::kHoverAnimation, now);
        if (hovered == i) key = cells_[i]->key();
    }
    ticker_.kick();
    if (key == hovered_) return;
    // Each call may change the stores and with them the cells: the second is looked up anew.
    if (const std::optional<std::size_t> left = cellWithKey(hovered_)) {
        hovered_.reset();
        if (const auto hover = cells_[*left]->content().hover) hover(false);
    }
    hovered_ = key;
    if (const std::optional<std::size_t> entered = cellWithKey(key)) {
        if (const auto hover = cells_[*entered]->content().hover) hover(true);
    }
}

bool TileStrip::isMoving(MediaTime now) const {
    if (fadeMask_.isMoving(now)) return true;
    return std::ranges::any_of(cells_, [now](const auto& cell) { return cell->isMoving(now); });
}

// A bouncing icon steps a whole pixel now and then, and most slowly at the ends of its swing:
// while nothing else moves, the frames between its steps are not drawn.
MediaTime TileStrip::nextChange(MediaTime now) const {
    constexpr int kMostFramesSkipped = 30;
    const MediaTime next = now + FrameTicker::kFrameInterval;
    if (!dirty_.isEmpty() || fadeMask_.isMoving(now)) return next;
    std::vector<const TileCell*> bouncing;
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const TileCell& cell = *cells_[i];
        if (cell.isMovingBesidesBounce(now)) return next;
        // The server shows the queued one's frames.
        if (cell.bounce.isMoving(now) && i != queuedCell_) bouncing.push_back(&cell);
    }
    const MediaTime latest = queuedUntil_.value_or(now + kMostFramesSkipped * FrameTicker::kFrameInterval);
    const qreal ratio = direct_.pixelRatio();
    for (int frame = 1;; ++frame) {
        const MediaTime at = now + frame * FrameTicker::kFrameInterval;
        if (at >= latest) return latest;
        if (std::ranges::any_of(bouncing, [&](const TileCell* cell) {
                return !cell->bounce.isMoving(at) ||
                       cell->bounceOffset(look_, at, ratio) != cell->bounceOffset(look_, now, ratio);
            }))
            return at;
    }
}

void TileStrip::resizeEvent(QResizeEvent*) {
    measure();
}

void TileStrip::mouseMoveEvent(QMouseEvent* event) {
    hoverAt(event->position());
    const std::optional<std::size_t> pressed = cellWithKey(pressed_);
    if (!pressed || !(event->buttons() & Qt::LeftButton) || *pressed >= pinnedCount_ || !onDragStart) return;
    if ((event->position() - pressedAt_).manhattanLength() < QApplication::startDragDistance() || dragAsked_) return;
    // The drag runs an event loop of its own, which holds the event that started it until
    // the drag ends. A release that comes elsewhere than the pointer last was (the X server
    // held, say, while the pointer left) is given as a move and then the release, both in
    // the release's turn: a drag started there would wait for a release already given, and
    // take the next click's. So it starts a turn later, if the press still holds.
    dragAsked_ = event->timestamp();
    loop_.post(lifetime_.guard([this, key = *pressed_] { startDrag(key); }));
}

void TileStrip::startDrag(const std::string& key) {
    dragAsked_.reset();
    const std::optional<std::size_t> pressed = cellWithKey(pressed_);
    if (!pressed || pressed_ != key || !onDragStart) return;
    // The drag takes the release: the press ends here, and no click follows.
    pressed_.reset();
    cells_[*pressed]->press.animateTo(0, TileCell::kPressAnimation, clock_.mediaNow());
    ticker_.kick();
    onDragStart(*pressed);
}

void TileStrip::leaveEvent(QEvent*) {
    hoverAt(std::nullopt);
}

void TileStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const std::optional<std::size_t> cell = cellAt(event->position());
    pressed_.reset();
    if (cell) {
        pressed_ = cells_[*cell]->key();
        pressedAt_ = event->position();
        cells_[*cell]->press.animateTo(1, TileCell::kPressAnimation, clock_.mediaNow());
    }
    ticker_.kick();
}

void TileStrip::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<std::size_t> pressed = cellWithKey(pressed_);
    pressed_.reset();
    // The move that asked for a drag was made of this release: the pointer moved only with
    // the button up, so the press is a click where it was made.
    const bool movedOnlyAfter = std::exchange(dragAsked_, std::nullopt) == event->timestamp();
    if (!pressed) return;
    cells_[*pressed]->press.animateTo(0, TileCell::kPressAnimation, clock_.mediaNow());
    ticker_.kick();
    // A press let go outside its tile is no click.
    if (event->button() != Qt::LeftButton || (!movedOnlyAfter && cellAt(event->position()) != pressed)) return;
    if (const Task activate = cells_[*pressed]->content().activate) activate();
}

void TileStrip::contextMenuEvent(QContextMenuEvent* event) {
    const std::optional<std::size_t> cell = cellAt(event->pos());
    if (!cell || !cells_[*cell]->content().menu || !onMenuRequest) {
        event->ignore();
        return;
    }
    onMenuRequest(*cell, event->globalPos());
}

bool TileStrip::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<std::size_t> cell = cellAt(help->pos());
    if (!cell || cells_[*cell]->content().toolTip.isEmpty() ||
        cells_[*cell]->badgeShowsWholeName(look_, badgeRoom(*cell))) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), toolTipAsWritten(cells_[*cell]->content().toolTip), this,
                       cellBox(*cell).toAlignedRect());
    return true;
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
    dirty_ += rect();
    ticker_.kick();
}

TileStrip::Bands TileStrip::bands() const {
    const int length = int(vertical_ ? height() : width());
    const int end = std::min(length / 2, int(std::ceil(along() * kFadeShare)) + 1);
    const auto band = [this](int from, int span) {
        return vertical_ ? QRect(0, from, width(), span) : QRect(from, 0, span, height());
    };
    return {band(0, end), band(end, length - 2 * end), band(length - end, end)};
}

void TileStrip::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const MediaTime now = clock_.mediaNow();
    const double mask = fadeMask_.value(now);
    const QRect asked = event->rect();
    if (!direct_.isTakingStill()) direct_.paintedByQt(event->region());
    if (mask <= 0) {
        paintStrip(painter, asked, now);
        return;
    }
    // Only the ends fade: the middle is drawn straight, each end through a small layer of its
    // own, so a long dock costs no picture of its whole length at every frame.
    const Bands parts = bands();
    painter.save();
    painter.setClipRect(parts.middle, Qt::IntersectClip);
    paintStrip(painter, parts.middle & asked, now);
    painter.restore();
    for (const QRect& fading : {parts.start, parts.end}) {
        if (fading.intersects(asked)) paintFadingEnd(painter, fading, mask, now);
    }
}

void TileStrip::paintFadingEnd(QPainter& painter, const QRect& end, double mask, MediaTime now) const {
    if (end.isEmpty()) return;
    const qreal ratio = devicePixelRatioF();
    QImage layer(end.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    QPainter layerPainter(&layer);
    layerPainter.translate(-end.topLeft());
    paintStrip(layerPainter, end, now);
    paintInBands(layerPainter, end, [&](QPainter& p) { applyFadeMask(p, mask); });
    layerPainter.end();
    paintInBands(painter, end, [&](QPainter& p) { p.drawImage(QPointF(end.topLeft()), layer); });
}

void TileStrip::paintStrip(QPainter& painter, const QRectF& visible, MediaTime now) const {
    // Hovered tiles are drawn last, over the others; tiles that near the area are drawn too, clipped.
    for (const bool hovered : {false, true}) {
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            if ((cells_[i]->hover.value(now) > 0) != hovered) continue;
            if (!drawnArea(i, hovered && mayShowBadge(i)).intersects(visible)) continue;
            if (direct_.isTakingStill() && cells_[i]->bounce.isMoving(now)) continue;
            cells_[i]->paint(painter, cellOrigin(i), look_, palette(), now, badgeRoom(i));
        }
    }
    const double margin = cellLength();
    const QRectF near = visible.adjusted(-margin, -margin, margin, margin);
    if (const std::optional<QRectF> line = separatorFrame(); line && line->intersects(near))
        paintSeparator(painter, *line, palette());
}

double TileStrip::badgeRoom(std::size_t index) const {
    if (vertical_) return width();
    const double centre = cellBox(index).center().x();
    return 2 * std::max(0.0, std::min(centre, width() - centre));
}

void TileStrip::applyFadeMask(QPainter& painter, double progress) const {
    // The ends at full strength, laid on at the fade's progress: a gradient of its own at
    // each step of the fade would leave a colour table in Qt's gradient cache for good.
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.setOpacity(progress);
    painter.drawImage(rect(), fadeEnds());
}

const QImage& TileStrip::fadeEnds() const {
    const qreal ratio = devicePixelRatioF();
    const int length = std::max(1, int(std::lround(along() * ratio)));
    const QSize size = vertical_ ? QSize(1, length) : QSize(length, 1);
    if (fadeEnds_.size() == size) return fadeEnds_;
    fadeEnds_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    fadeEnds_.fill(Qt::transparent);
    QLinearGradient gradient(0, 0, vertical_ ? 0 : length, vertical_ ? length : 0);
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(kFadeShare, Qt::transparent);
    gradient.setColorAt(1 - kFadeShare, Qt::transparent);
    gradient.setColorAt(1, Qt::black);
    QPainter(&fadeEnds_).fillRect(fadeEnds_.rect(), gradient);
    return fadeEnds_;
}

}  // namespace quillbern
