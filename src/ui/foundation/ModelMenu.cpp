#include "ui/foundation/ModelMenu.h"

#include <QPalette>
#include <QPointer>
#include <QTimer>

#include "core/shortcuts/ChordText.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

constexpr int kSymbolSide = 16;

}  // namespace

ModelMenu::ModelMenu(const MenuModel& model, QWidget* parent) : ModelMenu(model, parent, Actions::afterClick) {}

ModelMenu::ModelMenu(const MenuModel& model, QWidget* parent, Actions actions) : QMenu(parent) {
    for (const MenuItem& item : model.items()) {
        actions_.push_back(item.action);
        if (item.isSeparator) {
            addSeparator();
            continue;
        }
        QString title = menuTitle(item.title);
        // Command is Ctrl in our windows; after the tab the menu shows it in its key column.
        if (!item.keyEquivalent.empty())
            title += u'\t' + menuTitle(ChordText::withKeyNamed(HotKeyChord::kControl, item.keyEquivalent));
        QAction* action = addAction(title);
        action->setData(int(actions_.size() - 1));
        action->setEnabled(item.enabled);
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (item.icon) {
            action->setIcon(qIcon(item.icon));
        } else if (!item.symbol.empty()) {
            action->setIcon(
                symbolIcon(item.symbol, palette().color(QPalette::WindowText), kSymbolSide, devicePixelRatioF()));
        }
        if (!item.action || actions == Actions::byCaller) continue;
        connect(action, &QAction::triggered, this, [parent, run = item.action] {
            // After the menu's own handling of the click, and only while what opened the
            // menu still stands.
            QTimer::singleShot(0, parent, run);
        });
    }
}

void ModelMenu::runModal(const MenuModel& model, QWidget* parent, QPoint global) {
    QPointer<QWidget> opener = parent;
    Task chosen;
    {
        ModelMenu menu(model, parent, Actions::byCaller);
        const QAction* action = menu.exec(global);
        if (action && action->data().isValid()) chosen = menu.actions_[std::size_t(action->data().toInt())];
    }
    if (chosen && opener) chosen();
}

}  // namespace quillbern
