#include "core/windows/WindowReconciler.h"

#include <algorithm>

#include "core/windows/Displays.h"

namespace quillbern {

namespace {

bool windowOrder(const WindowInfo& a, const WindowInfo& b) {
    if (a.appName != b.appName) return a.appName < b.appName;
    return a.id < b.id;
}

}  // namespace

WindowReconciler::WindowReconciler(WindowAccess& access, const WindowList& list, const Screens& screens)
    : access_(access), list_(list), screens_(screens) {}

WindowSnapshot WindowReconciler::reconcile(const TrackedApps& apps) {
    const OnScreenBounds onScreen = cgOnScreenBounds(list_);
    lastOnScreenIDs_.clear();
    for (const auto& [id, bounds] : onScreen)
        lastOnScreenIDs_.insert(id);
    const std::vector<ScreenInfo> screens = screens_.screens();

    std::vector<WindowInfo> windows;
    std::unordered_map<WindowId, ElementRef> elements;
    for (const auto& [pid, appName] : apps) {
        const ElementRef app = access_.appElement(pid);
        access_.setTimeout(app, kMessagingTimeout);
        if (readWindows(pid, appName, app, onScreen, screens, windows, elements)) {
            failureCount_[pid] = 0;
            continue;
        }
        // A busy application keeps its last windows for a few passes before they go.
        if (++failureCount_[pid] < kFailuresBeforeDropping) carryOver(pid, windows, elements);
    }

    std::stable_sort(windows.begin(), windows.end(), windowOrder);
    lastByPid_.clear();
    pidByID_.clear();
    for (const WindowInfo& window : windows) {
        lastByPid_[window.pid].push_back(window);
        pidByID_.insert_or_assign(window.id, window.pid);
    }
    elements_ = std::move(elements);
    return WindowSnapshot{std::move(windows)};
}

WindowReconciler::Focus WindowReconciler::readFocus(ElementRef app) {
    Focus focus;
    if (axBool(access_, app, Attribute::frontmost).value_or(false)) {
        if (const auto window = axElement(access_, app, Attribute::focusedWindow)) {
            focus.focused = cgWindowID(access_, *window, missingIdWarning_);
        }
    }
    if (const auto window = axElement(access_, app, Attribute::mainWindow)) {
        focus.main = cgWindowID(access_, *window, missingIdWarning_);
    }
    return focus;
}

bool WindowReconciler::readWindows(Pid pid, const std::string& appName, ElementRef app, const OnScreenBounds& onScreen,
                                   const std::vector<ScreenInfo>& screens, std::vector<WindowInfo>& into,
                                   std::unordered_map<WindowId, ElementRef>& elementsInto) {
    const Focus focus = readFocus(app);
    const auto list = access_.readElements(app, Attribute::windows);
    if (list.isFailure()) return false;
    if (!list.hasValue()) return true;

    for (const ElementRef element : list.value()) {
        if (access_.readRole(element).optional() != WindowRole::window) continue;
        const auto id = cgWindowID(access_, element, missingIdWarning_);
        if (!id) continue;

        WindowInfo info;
        info.id = *id;
        info.pid = pid;
        info.appName = appName;
        info.isMinimized = axBool(access_, element, Attribute::minimized).value_or(false);
        info.isFullscreen = axBool(access_, element, Attribute::fullScreen).value_or(false);
        info.title = access_.readString(element, Attribute::title).optional().value_or(std::string());
        const auto bounds = onScreen.find(*id);
        info.isOnScreen = bounds != onScreen.end();
        // The on-screen bounds spare two reads for every visible window.
        info.frame = info.isOnScreen ? bounds->second : axFrame(access_, element).value_or(RectTL::null());
        info.displayID = info.frame.isNull() ? mainDisplayID(screens) : displayIDForWindowBounds(screens, info.frame);
        info.isFocused = focus.focused == id;
        info.isAppMain = focus.main == id;
        into.push_back(std::move(info));
        elementsInto.insert_or_assign(*id, element);
    }
    return true;
}

void WindowReconciler::carryOver(Pid pid, std::vector<WindowInfo>& into,
                                 std::unordered_map<WindowId, ElementRef>& elementsInto) const {
    const auto last = lastByPid_.find(pid);
    if (last == lastByPid_.end()) return;
    for (const WindowInfo& window : last->second) {
        into.push_back(window);
        if (const auto element = elements_.find(window.id); element != elements_.end()) {
            elementsInto.insert_or_assign(window.id, element->second);
        }
    }
}

void WindowReconciler::keepFailureCountsOf(const TrackedApps& apps) {
    std::erase_if(failureCount_, [&apps](const auto& entry) { return !apps.contains(entry.first); });
}

bool WindowReconciler::hasFailures() const {
    return std::any_of(failureCount_.begin(), failureCount_.end(), [](const auto& entry) { return entry.second > 0; });
}

void WindowReconciler::forgetElements() {
    elements_.clear();
    pidByID_.clear();
}

std::optional<ElementRef> WindowReconciler::validElement(WindowId id, Pid pid) {
    const auto element = elements_.find(id);
    const auto owner = pidByID_.find(id);
    if (element == elements_.end() || owner == pidByID_.end() || owner->second != pid) return std::nullopt;
    if (cgWindowID(access_, element->second, missingIdWarning_) != id) return std::nullopt;
    return element->second;
}

}  // namespace quillbern
