#include "ui/foundation/ModelMenu.h"

#include <QPalette>
#include <QTimer>

#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

constexpr int kSymbolSide = 16;

}  // namespace

ModelMenu::ModelMenu(const MenuModel& model, QWidget* parent) : QMenu(parent) {
    for (const MenuItem& item : model.items()) {
        if (item.isSeparator) {
            addSeparator();
            continue;
        }
        QAction* action = addAction(QString::fromStdString(item.title));
        action->setEnabled(item.enabled);
        if (!item.symbol.empty()) {
            action->setIcon(
                symbolIcon(item.symbol, palette().color(QPalette::WindowText), kSymbolSide, devicePixelRatioF()));
        }
        if (!item.action) continue;
        connect(action, &QAction::triggered, this, [parent, run = item.action] {
            // After the menu's own handling of the click, and only while what opened the
            // menu still stands.
            QTimer::singleShot(0, parent, run);
        });
    }
}

}  // namespace quillbern
