#include "ui/foundation/OverviewPanel.h"

#include <QKeyEvent>

namespace quillbern {

void OverviewPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Period && event->modifiers().testFlag(Qt::ControlModifier)) {
        // A copy: the handler may close this panel.
        if (const Task cancel = keyHandlers().onCancel) cancel();
        event->accept();
        return;
    }
    SearchPanel::keyPressEvent(event);
}

}  // namespace quillbern
