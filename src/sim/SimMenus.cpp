#include "sim/SimMenus.h"

#include <algorithm>

namespace quillbern {

void SimMenus::popUp(const MenuModel& menu, const Panel& panel, Point inContent) {
    const std::vector<MenuItem> items = menu.items();
    shown_.push_back({panel.serial(), inContent, items});
    Answer answer;
    if (!answers_.empty()) {
        answer = std::move(answers_.front());
        answers_.pop_front();
    }
    isOpen_ = true;
    if (answer.whileOpen) answer.whileOpen();
    isOpen_ = false;
    if (!answer.choose) return;
    const auto line = std::ranges::find_if(
        items, [&](const MenuItem& item) { return !item.isSeparator && item.enabled && item.title == *answer.choose; });
    if (line != items.end() && line->action) line->action();
}

}  // namespace quillbern
