#include "ui/foundation/OutlinedView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace quillbern {

int outlineChangeEventType() {
    static const int type = QEvent::registerEventType();
    return type;
}

void OutlinedView::outlineChanged(QWidget& view) {
    QEvent event(static_cast<QEvent::Type>(outlineChangeEventType()));
    QCoreApplication::sendEvent(view.window(), &event);
}

}  // namespace quillbern
