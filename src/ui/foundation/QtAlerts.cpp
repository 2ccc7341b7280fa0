#include "ui/foundation/QtAlerts.h"

#include <QApplication>

namespace quillbern {

void QtAlerts::beep() {
    QApplication::beep();
}

}  // namespace quillbern
