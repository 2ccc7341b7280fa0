#include "ui/foundation/OutlinedView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>

namespace quillbern {

int outlineChangeEventType() {
    static const int type = QEvent::registerEventType();
    return type;
}

QRegion outlineRegion(const QPainterPath& outline) {
    QRegion region;
    for (const QPolygonF& polygon : outline.toSubpathPolygons())
        region ^= QRegion(polygon.toPolygon());
    return region;
}

void OutlinedView::outlineChanged(QWidget& view) {
    QEvent event(static_cast<QEvent::Type>(outlineChangeEventType()));
    QCoreApplication::sendEvent(view.window(), &event);
}

}  // namespace quillbern
