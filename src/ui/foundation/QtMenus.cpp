#include "ui/foundation/QtMenus.h"

#include <QWidget>
#include <cmath>

#include "ui/foundation/ModelMenu.h"
#include "ui/foundation/QtPanelHost.h"

namespace quillbern {

void QtMenus::popUp(const MenuModel& menu, const Panel& panel, Point inContent) {
    QWidget* window = panels_.windowOf(panel);
    if (!window) return;
    const QPoint at = window->mapToGlobal(QPoint(int(std::lround(inContent.x)), int(std::lround(inContent.y))));
    ModelMenu::runModal(menu, window, at);
}

}  // namespace quillbern
