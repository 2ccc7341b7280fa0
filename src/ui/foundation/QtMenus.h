#pragma once

#include "core/platform/Menus.h"

namespace quillbern {

class QtPanelHost;

// Core menus as Qt pop-up menus over the panels of one host.
class QtMenus final : public Menus {
public:
    explicit QtMenus(const QtPanelHost& panels) : panels_(panels) {}

    // A panel of another host, or one already closed, gets no menu.
    void popUp(const MenuModel& menu, const Panel& panel, Point inContent) override;

private:
    const QtPanelHost& panels_;
};

}  // namespace quillbern
