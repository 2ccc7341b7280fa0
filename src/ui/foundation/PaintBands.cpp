#include "ui/foundation/PaintBands.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRectF>

namespace quillbern {

void paintInBands(QPainter& painter, const QRectF& area, const std::function<void(QPainter&)>& paint, int rows) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const qreal band = rows / ratio;
    for (qreal top = area.top(); top < area.bottom(); top += band) {
        painter.save();
        painter.setClipRect(QRectF(area.left(), top, area.width(), std::min(band, area.bottom() - top)),
                            Qt::IntersectClip);
        paint(painter);
        painter.restore();
    }
}

}  // namespace quillbern
