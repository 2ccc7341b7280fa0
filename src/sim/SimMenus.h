#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Menus.h"

namespace quillbern {

// Menus that a test answers: each pop-up takes the next scripted answer, and without one
// closes as on Escape. Every pop-up is kept as it was shown.
class SimMenus final : public Menus {
public:
    struct Answer {
        // The title of the line to choose; none closes the menu without a choice. A
        // disabled line cannot be chosen: the menu then closes without one.
        std::optional<std::string> choose;
        // Runs while the menu is open, before it closes: a click elsewhere, a change of
        // the stores.
        Task whileOpen;
    };
    struct Shown {
        std::uint64_t panel = 0;
        Point at;
        std::vector<MenuItem> items;
    };

    void popUp(const MenuModel& menu, const Panel& panel, Point inContent) override;

    void script(Answer answer) { answers_.push_back(std::move(answer)); }
    const std::vector<Shown>& shown() const { return shown_; }
    // Whether a pop-up is open at this moment.
    bool isOpen() const { return isOpen_; }

private:
    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
    bool isOpen_ = false;
};

}  // namespace quillbern
