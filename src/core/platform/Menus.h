#pragma once

#include "core/foundation/Geometry.h"
#include "core/platform/MenuModel.h"
#include "core/platform/PanelHost.h"

namespace quillbern {

// Menus the core opens at a place of its own choosing. Main thread.
class Menus {
public:
    virtual ~Menus() = default;

    // Opens the menu over the panel, its top-left corner at the point of the panel's
    // content (view space), and returns once it has closed: by a choice, whose action has
    // run by then, or by Escape or a click elsewhere.
    virtual void popUp(const MenuModel& menu, const Panel& panel, Point inContent) = 0;
};

}  // namespace quillbern
