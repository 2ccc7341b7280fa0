#include "linux/x11/X11AppPresence.h"

#include <algorithm>

namespace quillbern {

namespace {

bool isApplicationWindow(const ClientFacts& facts, Pid ownPid) {
    return facts.pid && *facts.pid != ownPid && !facts.isDockOrDesktop;
}

}  // namespace

AppPresence presenceOf(const ClientTable& table, Pid ownPid) {
    AppPresence presence;
    for (const ClientFacts& facts : table.frontToBack) {
        if (!isApplicationWindow(facts, ownPid)) continue;
        auto [entry, added] = presence.pids.emplace(*facts.pid, ActivationPolicy::accessory);
        if (facts.isOrdinary) entry->second = ActivationPolicy::regular;
    }
    if (const ClientFacts* active = table.find(table.active); active && isApplicationWindow(*active, ownPid)) {
        presence.active = active->pid;
    }
    return presence;
}

AppChanges appChanges(const AppPresence& before, const AppPresence& after) {
    AppChanges changes;
    for (const auto& [pid, policy] : after.pids) {
        if (!before.pids.contains(pid)) changes.launched.push_back(pid);
    }
    for (const auto& [pid, policy] : before.pids) {
        if (!after.pids.contains(pid)) changes.terminated.push_back(pid);
    }
    if (after.active && after.active != before.active) changes.activated = after.active;
    return changes;
}

bool applyPolicies(std::map<Pid, RunningApp>& apps, const AppPresence& presence) {
    bool changed = false;
    for (const auto& [pid, policy] : presence.pids) {
        const auto app = apps.find(pid);
        if (app == apps.end()) continue;
        changed |= app->second.policy != policy;
        app->second.policy = policy;
    }
    return changed;
}

const ClientFacts* bestWindow(const ClientTable& table, Pid pid, const std::vector<xcb_window_t>& recentlyActive) {
    const ClientFacts* recentMinimised = nullptr;
    for (const xcb_window_t window : recentlyActive) {
        const ClientFacts* facts = table.find(window);
        if (!facts || facts->pid != pid || facts->isDockOrDesktop) continue;
        if (!facts->minimized) return facts;
        if (!recentMinimised) recentMinimised = facts;
    }
    if (const ClientFacts* main = table.mainWindowOf(pid)) return main;
    if (recentMinimised) return recentMinimised;
    const auto any = std::ranges::find_if(table.frontToBack, [pid](const ClientFacts& facts) {
        return facts.pid == pid && !facts.isDockOrDesktop && facts.isOrdinary;
    });
    return any == table.frontToBack.end() ? nullptr : &*any;
}

void noteActiveWindow(std::vector<xcb_window_t>& recentlyActive, const ClientTable& table) {
    std::erase_if(recentlyActive, [&table](xcb_window_t window) { return !table.find(window); });
    if (table.active == XCB_WINDOW_NONE || !table.find(table.active)) return;
    std::erase(recentlyActive, table.active);
    recentlyActive.insert(recentlyActive.begin(), table.active);
}

}  // namespace quillbern
