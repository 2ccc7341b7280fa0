#include "linux/x11/X11HiddenApps.h"

#include <algorithm>

namespace quillbern {

void X11HiddenApps::remember(Pid pid, const std::string& application, const std::vector<std::uint32_t>& windows) {
    if (windows.empty()) return;
    const std::scoped_lock lock(mutex_);
    applications_.insert_or_assign(pid, application);
    std::vector<HiddenWindow>& remembered = windows_[application];
    for (const std::uint32_t window : windows) {
        const HiddenWindow hidden{pid, window};
        if (std::ranges::find(remembered, hidden) == remembered.end()) remembered.push_back(hidden);
    }
}

std::vector<HiddenWindow> X11HiddenApps::windows(Pid pid) const {
    const std::scoped_lock lock(mutex_);
    const auto application = applications_.find(pid);
    if (application == applications_.end()) return {};
    const auto found = windows_.find(application->second);
    return found == windows_.end() ? std::vector<HiddenWindow>{} : found->second;
}

std::vector<HiddenWindow> X11HiddenApps::take(Pid pid) {
    const std::scoped_lock lock(mutex_);
    const auto application = applications_.find(pid);
    if (application == applications_.end()) return {};
    const std::string key = application->second;
    std::erase_if(applications_, [&key](const auto& entry) { return entry.second == key; });
    auto node = windows_.extract(key);
    return node ? std::move(node.mapped()) : std::vector<HiddenWindow>{};
}

void X11HiddenApps::forget(Pid pid) {
    const std::scoped_lock lock(mutex_);
    const auto application = applications_.find(pid);
    if (application == applications_.end()) return;
    const auto found = windows_.find(application->second);
    if (found != windows_.end()) {
        std::erase_if(found->second, [pid](const HiddenWindow& hidden) { return hidden.pid == pid; });
        if (found->second.empty()) windows_.erase(found);
    }
    applications_.erase(application);
}

}  // namespace quillbern
