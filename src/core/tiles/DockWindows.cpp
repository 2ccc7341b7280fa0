#include "core/tiles/DockWindows.h"

#include <algorithm>

namespace quillbern {

std::vector<WindowInfo> windowsOnDisplay(std::span<const WindowInfo> windows, DisplayId display) {
    std::vector<WindowInfo> result;
    std::ranges::copy_if(windows, std::back_inserter(result),
                         [display](const WindowInfo& window) { return window.displayID == display; });
    return result;
}

std::set<AppId> pinnedBundleIDs(const Profile& profile) {
    std::set<AppId> result;
    for (const PinnedItem& item : profile.items) {
        if (const PinnedApp* app = item.app()) result.insert(app->bundleID);
    }
    return result;
}

std::optional<Pid> focusedPID(std::span<const WindowInfo> windows) {
    const auto focused = std::ranges::find_if(windows, &WindowInfo::isFocused);
    if (focused == windows.end()) return std::nullopt;
    return focused->pid;
}

std::optional<WindowInfo> bestWindow(std::span<const WindowInfo> windows, DisplayId display) {
    std::vector<WindowInfo> candidates = windowsOnDisplay(windows, display);
    if (candidates.empty()) candidates.assign(windows.begin(), windows.end());
    if (candidates.empty()) return std::nullopt;
    if (const auto focused = std::ranges::find_if(candidates, &WindowInfo::isFocused); focused != candidates.end())
        return *focused;
    const auto shown = std::ranges::find_if(candidates, [](const WindowInfo& w) { return !w.isMinimized; });
    return shown != candidates.end() ? *shown : candidates.front();
}

}  // namespace quillbern
