#pragma once

#include <QMenu>

#include "core/platform/MenuModel.h"

namespace quillbern {

// A pop-up menu showing a core menu: each item a line, symbols beside their titles,
// separators between groups. Choosing a line runs its item's action once the menu has
// handled the click, and only while the parent that opened it still exists, so an action
// may change or close whatever opened the menu.
class ModelMenu final : public QMenu {
    Q_OBJECT
public:
    ModelMenu(const MenuModel& model, QWidget* parent);
};

}  // namespace quillbern
