#include "linux/x11/X11HiddenApps.h"

#include <algorithm>

namespace quillbern {

void X11HiddenApps::remember(Pid pid, const std::vector<std::uint32_t>& windows) {
    if (windows.empty()) return;
    const std::scoped_lock lock(mutex_);
    std::vector<std::uint32_t>& remembered = windows_[pid];
    for (const std::uint32_t window : windows) {
        if (std::ranges::find(remembered, window) == remembered.end()) remembered.push_back(window);
    }
}

std::vector<std::uint32_t> X11HiddenApps::windows(Pid pid) const {
    const std::scoped_lock lock(mutex_);
    const auto found = windows_.find(pid);
    return found == windows_.end() ? std::vector<std::uint32_t>{} : found->second;
}

std::vector<std::uint32_t> X11HiddenApps::take(Pid pid) {
    const std::scoped_lock lock(mutex_);
    auto node = windows_.extract(pid);
    return node ? std::move(node.mapped()) : std::vector<std::uint32_t>{};
}

void X11HiddenApps::forget(Pid pid) {
    const std::scoped_lock lock(mutex_);
    windows_.erase(pid);
}

}  // namespace quillbern
