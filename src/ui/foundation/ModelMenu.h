#pragma once

#include <QMenu>
#include <vector>

#include "core/platform/MenuModel.h"

namespace quillbern {

// A pop-up menu showing a core menu: each item a line, symbols beside their titles, check
// marks where set, separators between groups. Choosing a line runs its item's action once
// the menu has handled the click, and only while the parent that opened it still exists,
// so an action may change or close whatever opened the menu.
class ModelMenu final : public QMenu {
    Q_OBJECT
public:
    ModelMenu(const MenuModel& model, QWidget* parent);

    // Shows the menu at a global position and returns once it has closed; the chosen
    // item's action has run by then, unless the parent went meanwhile.
    static void runModal(const MenuModel& model, QWidget* parent, QPoint global);

private:
    enum class Actions { afterClick, byCaller };
    ModelMenu(const MenuModel& model, QWidget* parent, Actions actions);

    // The action of each line, by the line's position in the menu; empty for separators.
    std::vector<Task> actions_;
};

}  // namespace quillbern
