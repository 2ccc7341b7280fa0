#include "ui/shell/MenuRows.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>

#include "ui/foundation/QtText.h"

namespace quillbern {

namespace {

void addRow(QMenu& menu, const MenuRow& row, const std::function<void(const MenuRow&)>& perform) {
    if (row.isSeparator) {
        menu.addSeparator();
        return;
    }
    const QString title = menuTitle(row.title);
    if (!row.submenu.empty()) {
        QMenu* submenu = menu.addMenu(title);
        fillMenu(*submenu, row.submenu, perform);
        submenu->menuAction()->setVisible(!row.isHidden);
        return;
    }
    // After a tab, the menu shows a global chord in the column of its own keys.
    QAction* action = menu.addAction(row.chord.empty() ? title : title + '\t' + menuTitle(row.chord));
    if (row.key != 0) {
        const auto key = static_cast<Qt::Key>(QChar::fromLatin1(row.key).toUpper().unicode());
        action->setShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier, key)));
    }
    action->setEnabled(row.isEnabled);
    action->setVisible(!row.isHidden);
    // A row waiting for a permission shows no tick: Qt menus have no mixed mark, and its
    // title says what is missing.
    action->setCheckable(row.mark == CheckMark::on);
    action->setChecked(row.mark == CheckMark::on);
    if (row.command == MenuCommand::none) return;
    QObject::connect(action, &QAction::triggered, &menu,
                     [row, perform] { QTimer::singleShot(0, [row, perform] { perform(row); }); });
}

}  // namespace

void fillMenu(QMenu& menu, const std::vector<MenuRow>& rows, const std::function<void(const MenuRow&)>& perform) {
    // clear() leaves the submenus of earlier openings alive.
    for (QMenu* old : menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    menu.clear();
    for (const MenuRow& row : rows)
        addRow(menu, row, perform);
}

}  // namespace quillbern
