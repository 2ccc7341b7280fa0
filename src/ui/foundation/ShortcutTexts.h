#pragma once

#include <QKeyCombination>
#include <QMenu>
#include <QString>

namespace quillbern {

// A key combination of our windows as the program writes every chord (`ChordText`): the
// modifiers in the catalogue's words, then the key's own name or what it types ("Strg+Q",
// "Ctrl+Shift+Z"); Qt's text for a key we have no name for.
QString shortcutText(QKeyCombination keys);

// From now on the menus Qt builds itself (a text field's Undo, Copy, Paste…) show their
// shortcuts written that way too, in their key column: Qt's own text names the keys in its
// catalogue's words ("Control+Z" in Spanish beside our "Ctrl+Q"). Once, on the main thread.
void writeShortcutsOfQtMenusOurWay();

// A menu whose key column shows its lines' shortcuts written that way where Qt would write
// its own, while a line's name stays its title, as assistive tools read it.
class OwnShortcutsMenu : public QMenu {
public:
    using QMenu::QMenu;

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};

}  // namespace quillbern
