#include "core/platform/MenuModel.h"

#include "core/foundation/Localization.h"

namespace quillbern {

MenuItem MenuItem::separator() {
    MenuItem item;
    item.isSeparator = true;
    return item;
}

void MenuModel::add(std::string title, Task action, std::string symbol) {
    items_.push_back({std::move(title), std::move(symbol), true, false, std::move(action)});
}

void MenuModel::addSeparator() {
    if (items_.empty() || items_.back().isSeparator) return;
    items_.push_back(MenuItem::separator());
}

void MenuModel::append(const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.isSeparator) {
            addSeparator();
        } else {
            items_.push_back(item);
        }
    }
}

std::vector<MenuItem> MenuModel::items() const {
    std::vector<MenuItem> shown = items_;
    if (!shown.empty() && shown.back().isSeparator) shown.pop_back();
    if (shown.empty())
        shown.push_back({emptyTitle_.empty() ? tr("Nothing to choose") : emptyTitle_, {}, false, false, {}});
    return shown;
}

}  // namespace quillbern
