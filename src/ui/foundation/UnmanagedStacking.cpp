#include "ui/foundation/UnmanagedStacking.h"

namespace quillbern {

std::optional<StackTarget> unmanagedPlacement(const std::vector<StackedWindow>& bottomToTop) {
    std::optional<std::size_t> topOther;
    for (std::size_t i = 0; i < bottomToTop.size(); ++i) {
        const StackedWindow& w = bottomToTop[i];
        if (w.owner == StackedWindow::Owner::other && w.shown && !w.unmanaged) topOther = i;
    }
    for (std::size_t i = topOther ? *topOther + 1 : 0; i < bottomToTop.size(); ++i) {
        const StackedWindow& w = bottomToTop[i];
        if (w.owner == StackedWindow::Owner::usAbove && w.shown) return StackTarget{w.id, false};
    }
    if (topOther) return StackTarget{bottomToTop[*topOther].id, true};
    return std::nullopt;
}

bool keepsUnmanagedOnTop(std::string_view windowManagerName) {
    return windowManagerName == "Metacity";
}

}  // namespace quillbern
