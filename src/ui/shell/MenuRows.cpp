#include "ui/shell/MenuRows.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>

#include "ui/foundation/QtText.h"
#include "ui/foundation/ShortcutTexts.h"

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
    // After a tab, the menu shows a global chord, or its own key, in its key column; Qt
    // writes its own text there only for an action without one.
    QAction* action = menu.addAction(title);
    QString keys = menuTitle(row.chord);
    if (row.key != 0) {
        const QKeyCombination typed(Qt::ControlModifier,
                                    static_cast<Qt::Key>(QChar::fromLatin1(row.key).toUpper().unicode()));
        action->setShortcut(QKeySequence(typed));
        if (keys.isEmpty()) keys = shortcutText(typed);
    }
    if (!keys.isEmpty()) action->setText(title + u'\t' + keys);
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
