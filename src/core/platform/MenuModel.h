#pragma once

#include <string>
#include <vector>

#include "core/foundation/RunLoop.h"
#include "core/platform/Types.h"

namespace quillbern {

// One line of a menu: a command, or the separator between two groups of commands.
struct MenuItem {
    // Shown as given: builders localise their own texts; names of windows and
    // applications stay verbatim.
    std::string title;
    // A symbol beside the title; empty for none.
    std::string symbol;
    bool enabled = true;
    bool isSeparator = false;
    Task action;
    // A check mark beside the title.
    bool checked = false;
    // What the key beside the title types, shown as Command with that key; empty for none.
    std::string keyEquivalent = {};
    // A picture beside the title, in place of a symbol; null for none.
    ImageHandle icon = nullptr;

    static MenuItem separator();
};

// A menu as the core decides it; the view that shows it runs the chosen item's action.
class MenuModel {
public:
    void add(std::string title, Task action, std::string symbol = {});
    // Between two groups only: never first, last or after another separator.
    void addSeparator();
    // Each item as add or addSeparator takes it.
    void append(const std::vector<MenuItem>& items);

    // The disabled line of a menu without items, in place of the general one.
    void setEmptyTitle(std::string title) { emptyTitle_ = std::move(title); }

    // What the menu shows. Never empty: a menu without a command says in a disabled line
    // that there is nothing to choose.
    std::vector<MenuItem> items() const;

private:
    std::vector<MenuItem> items_;
    std::string emptyTitle_;
};

}  // namespace quillbern
