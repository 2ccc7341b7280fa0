#include "ui/tiles/FolderPopover.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRegion>
#include <QScreen>
#include <algorithm>

#include "core/foundation/Uuid.h"
#include "ui/tiles/LocationContentView.h"

namespace quillbern {

namespace {

// Kept from the screen's edges.
constexpr int kScreenMargin = 4;

}  // namespace

FolderPopover::FolderPopover(LocationBrowser& browser, PinnedStore& store, const PinnedLocation& location,
                             const Uuid& profileID, QRect tile, ArrowEdge arrow, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), tile_(tile), arrow_(arrow) {
    setAttribute(Qt::WA_DeleteOnClose);
    content_ = new LocationContentView(
        browser, store, location, profileID, [this] { close(); }, this);
    content_->onResized = [this] { place(); };
    place();
}

QRect FolderPopover::body() const {
    const QSize inner = content_->sizeHint().expandedTo(content_->minimumSize());
    switch (arrow_) {
        case ArrowEdge::top:
            return {0, 0, inner.width(), inner.height()};
        case ArrowEdge::bottom:
            return {0, kArrowDepth, inner.width(), inner.height()};
        case ArrowEdge::leading:
            return {0, 0, inner.width(), inner.height()};
        case ArrowEdge::trailing:
            return {kArrowDepth, 0, inner.width(), inner.height()};
    }
    return {};
}

void FolderPopover::place() {
    const QRect inside = body();
    const bool vertical = arrow_ == ArrowEdge::top || arrow_ == ArrowEdge::bottom;
    const QSize whole = inside.size() + (vertical ? QSize(0, kArrowDepth) : QSize(kArrowDepth, 0));
    QScreen* screen = QGuiApplication::screenAt(tile_.center());
    const QRect room = (screen ? screen->geometry() : QRect(tile_.center(), QSize(1, 1)))
                           .adjusted(kScreenMargin, kScreenMargin, -kScreenMargin, -kScreenMargin);
    QPoint origin;
    switch (arrow_) {
        // The arrow stands on that edge of the tile: above it for a dock at the bottom.
        case ArrowEdge::top:
            origin = {tile_.center().x() - whole.width() / 2, tile_.top() - whole.height()};
            break;
        case ArrowEdge::bottom:
            origin = {tile_.center().x() - whole.width() / 2, tile_.bottom() + 1};
            break;
        case ArrowEdge::leading:
            origin = {tile_.left() - whole.width(), tile_.center().y() - whole.height() / 2};
            break;
        case ArrowEdge::trailing:
            origin = {tile_.right() + 1, tile_.center().y() - whole.height() / 2};
            break;
    }
    if (vertical) {
        origin.setX(std::clamp(origin.x(), room.left(), std::max(room.left(), room.right() + 1 - whole.width())));
    } else {
        origin.setY(std::clamp(origin.y(), room.top(), std::max(room.top(), room.bottom() + 1 - whole.height())));
    }
    setGeometry(QRect(origin, whole));
    content_->setGeometry(inside);
    // The border's outer half and its smoothed pixels lie just outside the outline.
    QPainterPathStroker border;
    border.setWidth(2);
    setMask(QRegion(outline().united(border.createStroke(outline())).toFillPolygon().toPolygon()));
    update();
}

QPainterPath FolderPopover::outline() const {
    const QRectF box = body();
    QPainterPath path;
    path.addRoundedRect(box, kCornerRadius, kCornerRadius);
    // The arrow points at the tile's middle, wherever the popover was pushed along the edge.
    const QPointF tip = mapFromGlobal(tile_.center());
    const double half = kArrowWidth / 2.0;
    // The arrow's base reaches into the body, so the union leaves no border across it.
    const QRectF base = box.adjusted(1, 1, -1, -1);
    QPolygonF arrow;
    switch (arrow_) {
        case ArrowEdge::top: {
            const double x = std::clamp(tip.x(), box.left() + kCornerRadius + half, box.right() - kCornerRadius - half);
            arrow << QPointF(x - half, base.bottom()) << QPointF(x, box.bottom() + kArrowDepth)
                  << QPointF(x + half, base.bottom());
            break;
        }
        case ArrowEdge::bottom: {
            const double x = std::clamp(tip.x(), box.left() + kCornerRadius + half, box.right() - kCornerRadius - half);
            arrow << QPointF(x - half, base.top()) << QPointF(x, box.top() - kArrowDepth)
                  << QPointF(x + half, base.top());
            break;
        }
        case ArrowEdge::leading: {
            const double y = std::clamp(tip.y(), box.top() + kCornerRadius + half, box.bottom() - kCornerRadius - half);
            arrow << QPointF(base.right(), y - half) << QPointF(box.right() + kArrowDepth, y)
                  << QPointF(base.right(), y + half);
            break;
        }
        case ArrowEdge::trailing: {
            const double y = std::clamp(tip.y(), box.top() + kCornerRadius + half, box.bottom() - kCornerRadius - half);
            arrow << QPointF(base.left(), y - half) << QPointF(box.left() - kArrowDepth, y)
                  << QPointF(base.left(), y + half);
            break;
        }
    }
    QPainterPath pointer;
    pointer.addPolygon(arrow);
    return path.united(pointer);
}

void FolderPopover::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawPath(outline());
}

void FolderPopover::hideEvent(QHideEvent*) {
    if (const auto closed = std::move(onClosed)) closed();
}

}  // namespace quillbern
