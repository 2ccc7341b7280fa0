#pragma once

#include <functional>
#include <vector>

#include "core/shell/StatusMenu.h"

class QMenu;

namespace quillbern {

// Fills the menu with the rows, replacing what it held; an `OwnShortcutsMenu` writes their
// keys as the program writes chords. A chosen row reaches `perform` after the menu has
// closed, so a command may open windows or end the program.
void fillMenu(QMenu& menu, const std::vector<MenuRow>& rows, const std::function<void(const MenuRow&)>& perform);

}  // namespace quillbern
