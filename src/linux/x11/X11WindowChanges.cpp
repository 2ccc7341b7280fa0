#include "linux/x11/X11WindowChanges.h"

#include <algorithm>
#include <set>

namespace quillbern {

namespace {

bool isApplicationWindow(const ClientFacts& facts) {
    return facts.pid && !facts.isDockOrDesktop;
}

std::optional<Pid> ownerOf(const ClientTable& table, xcb_window_t window) {
    const ClientFacts* facts = table.find(window);
    return facts && isApplicationWindow(*facts) ? facts->pid : std::nullopt;
}

xcb_window_t mainWindow(const ClientTable& table, Pid pid) {
    const ClientFacts* facts = table.mainWindowOf(pid);
    return facts ? facts->window : xcb_window_t(XCB_WINDOW_NONE);
}

class Changes {
public:
    void add(Pid pid, ElementEvent event) {
        const WindowChange change{pid, event};
        if (std::find(list_.begin(), list_.end(), change) == list_.end()) list_.push_back(change);
    }
    std::vector<WindowChange> take() { return std::move(list_); }

private:
    std::vector<WindowChange> list_;
};

}  // namespace

std::vector<WindowChange> windowChanges(const ClientTable& before, const ClientTable& after) {
    Changes changes;
    std::set<Pid> pids;
    for (const ClientFacts& now : after.frontToBack) {
        if (!isApplicationWindow(now)) continue;
        const Pid pid = *now.pid;
        pids.insert(pid);
        const ClientFacts* then = before.find(now.window);
        if (!then || !isApplicationWindow(*then)) {
            changes.add(pid, ElementEvent::windowCreated);
            continue;
        }
        if (then->minimized != now.minimized) {
            changes.add(pid, now.minimized ? ElementEvent::windowMinimized : ElementEvent::windowRestored);
        }
        if (then->frame && now.frame) {
            if (then->frame->size() != now.frame->size()) changes.add(pid, ElementEvent::windowResized);
            if (then->frame->origin() != now.frame->origin()) changes.add(pid, ElementEvent::windowMoved);
        }
        if (then->title != now.title) changes.add(pid, ElementEvent::titleChanged);
    }
    for (const ClientFacts& then : before.frontToBack) {
        if (!isApplicationWindow(then)) continue;
        pids.insert(*then.pid);
        if (!after.find(then.window)) changes.add(*then.pid, ElementEvent::mainWindowChanged);
    }
    if (before.active != after.active) {
        for (const auto owner : {ownerOf(before, before.active), ownerOf(after, after.active)}) {
            if (owner) changes.add(*owner, ElementEvent::focusedWindowChanged);
        }
    }
    for (const Pid pid : pids) {
        if (mainWindow(before, pid) != mainWindow(after, pid)) changes.add(pid, ElementEvent::mainWindowChanged);
    }
    return changes.take();
}

}  // namespace quillbern
