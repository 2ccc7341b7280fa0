#include "ui/settings/FlowLayout.h"

#include <QWidget>
#include <algorithm>

namespace quillbern {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(spacing);
}

FlowLayout::~FlowLayout() {
    qDeleteAll(items_);
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

int FlowLayout::count() const {
    return int(items_.size());
}

QLayoutItem* FlowLayout::itemAt(int index) const {
    return items_.value(index);
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

QSize FlowLayout::sizeHint() const {
    QSize line(0, 0);
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        const QSize size = item->sizeHint();
        line = {line.width() + (line.width() > 0 ? spacing() : 0) + size.width(),
                std::max(line.height(), size.height())};
    }
    return line.grownBy(contentsMargins());
}

QSize FlowLayout::minimumSize() const {
    QSize widest(0, 0);
    for (const QLayoutItem* item : items_)
        if (!item->isEmpty()) widest = widest.expandedTo(item->minimumSize());
    return widest.grownBy(contentsMargins());
}

int FlowLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool place) const {
    const QRect room = rect.marginsRemoved(contentsMargins());
    int x = room.x();
    int y = room.y();
    int lineHeight = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        const QSize size = item->sizeHint().boundedTo(QSize(room.width(), QWIDGETSIZE_MAX));
        if (x > room.x() && x + size.width() > room.right() + 1) {
            x = room.x();
            y += lineHeight + spacing();
            lineHeight = 0;
        }
        if (place) item->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + spacing();
        lineHeight = std::max(lineHeight, size.height());
    }
    return y + lineHeight - rect.y() + contentsMargins().bottom();
}

}  // namespace quillbern
