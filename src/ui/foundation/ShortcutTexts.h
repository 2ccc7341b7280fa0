#pragma once

#include <QKeyCombination>
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

}  // namespace quillbern
