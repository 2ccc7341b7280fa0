#include "core/platform/PanelStack.h"

#include <algorithm>

namespace quillbern {

void PanelStack::orderFront(std::uint64_t serial, PanelLevel level) {
    remove(serial);
    const auto above =
        std::find_if(entries_.begin(), entries_.end(), [level](const Entry& e) { return e.level > level; });
    entries_.insert(above, Entry{serial, level});
}

void PanelStack::remove(std::uint64_t serial) {
    std::erase_if(entries_, [serial](const Entry& e) { return e.serial == serial; });
}

std::vector<std::uint64_t> PanelStack::fromPanelUp(std::uint64_t serial) const {
    std::vector<std::uint64_t> result;
    bool found = false;
    for (const Entry& e : entries_) {
        found = found || e.serial == serial;
        if (found) result.push_back(e.serial);
    }
    return result;
}

std::vector<std::uint64_t> PanelStack::bottomToTop() const {
    std::vector<std::uint64_t> result;
    for (const Entry& e : entries_)
        result.push_back(e.serial);
    return result;
}

}  // namespace quillbern
