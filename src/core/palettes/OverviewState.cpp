#include "core/palettes/OverviewState.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/model/ApplicationKey.h"

namespace quillbern {

namespace {

struct Group {
    std::string key;
    std::set<Pid> pids;
    std::size_t windowCount = 0;
    std::size_t firstWindow = 0;
};

// The running applications of one read, found by process and by identity.
class RunningIndex {
public:
    explicit RunningIndex(std::vector<RunningApp> apps) : apps_(std::move(apps)) {
        byPid_.reserve(apps_.size());
        for (const RunningApp& app : apps_)
            byPid_.push_back(&app);
        std::ranges::stable_sort(byPid_, {}, &RunningApp::pid);
    }
    const RunningApp* app(Pid pid) const {
        const auto found = std::ranges::lower_bound(byPid_, pid, {}, &RunningApp::pid);
        return found == byPid_.end() || (*found)->pid != pid ? nullptr : *found;
    }
    // The first the system lists with that identity.
    const RunningApp* firstWithId(std::string_view id) const {
        const auto found = std::ranges::find_if(apps_, [id](const RunningApp& app) { return app.appId == id; });
        return found == apps_.end() ? nullptr : &*found;
    }

private:
    std::vector<RunningApp> apps_;
    std::vector<const RunningApp*> byPid_;
};

// The group of a process's windows, made when its application has none yet; -1 for a
// process that is no running application.
int groupFor(Pid pid, const RunningIndex& running, const PinnedStore& store, std::vector<Group>& groups) {
    const RunningApp* app = running.app(pid);
    if (!app) return -1;
    std::string key = applicationKey(*app, store);
    const auto known = std::ranges::find(groups, key, &Group::key);
    if (known != groups.end()) return int(known - groups.begin());
    groups.push_back({std::move(key), {}, 0, 0});
    return int(groups.size()) - 1;
}

}  // namespace

OverviewState::OverviewState(WindowEngine& engine, PinnedStore& pinned, const RunningApps& apps,
                             const TextServices& text)
    : engine_(engine), pinned_(pinned), apps_(apps), text_(text) {
    const auto changed = [this] { entriesChanged.emit(); };
    watches_.push_back(engine.snapshotChanged.connect(changed));
    watches_.push_back(pinned.runningChanged.connect(changed));
    watches_.push_back(pinned.iconsChanged.connect(changed));
    watches_.push_back(pinned.activationOrderChanged.connect(changed));
}

std::vector<OverviewEntry> OverviewState::allEntries() const {
    const std::vector<WindowInfo>& windows = engine_.snapshot().windows;
    const RunningIndex running(apps_.runningApps());

    std::vector<Group> groups;
    // Where each process's windows go; -1 for a process without a running application.
    // Few processes, and the snapshot lists a process's windows together: a short list
    // with the last one found first beats a map.
    std::vector<std::pair<Pid, int>> groupOfPid;
    std::size_t lastFound = 0;
    // Each window's group, so the windows are copied once, into lists of their final size.
    std::vector<int> groupOfWindow(windows.size(), -1);
    std::optional<Pid> focused;
    for (std::size_t at = 0; at < windows.size(); ++at) {
        const WindowInfo& window = windows[at];
        // Windows that are skipped still tell which process is focused.
        if (!focused && window.isFocused) focused = window.pid;
        if (lastFound >= groupOfPid.size() || groupOfPid[lastFound].first != window.pid) {
            const auto known = std::ranges::find(groupOfPid, window.pid, &std::pair<Pid, int>::first);
            lastFound = std::size_t(known - groupOfPid.begin());
            if (known == groupOfPid.end()) {
                groupOfPid.emplace_back(window.pid, groupFor(window.pid, running, pinned_, groups));
                if (groupOfPid.back().second >= 0)
                    groups[std::size_t(groupOfPid.back().second)].pids.insert(window.pid);
            }
        }
        const int group = groupOfPid[lastFound].second;
        groupOfWindow[at] = group;
        if (group < 0) continue;
        Group& owner = groups[std::size_t(group)];
        if (owner.windowCount++ == 0) owner.firstWindow = at;
    }

    std::vector<Entry> entries;
    entries.reserve(groups.size());
    for (Group& group : groups) {
        // A key that is no identity finds none, and the group's first process speaks for it.
        const RunningApp* app = running.firstWithId(group.key);
        for (auto pid = group.pids.begin(); !app && pid != group.pids.end(); ++pid)
            app = running.app(*pid);
        Entry entry;
        entry.name = app && app->name ? *app->name : windows[group.firstWindow].appName;
        entry.icon = app ? pinned_.icon(*app) : nullptr;
        entry.isFocusedApp = focused && group.pids.contains(*focused);
        entry.id = std::move(group.key);
        entry.pids = std::move(group.pids);
        entry.windows.reserve(group.windowCount);
        entries.push_back(std::move(entry));
    }
    for (std::size_t at = 0; at < windows.size(); ++at) {
        if (groupOfWindow[at] >= 0) entries[std::size_t(groupOfWindow[at])].windows.push_back(windows[at]);
    }

    const std::vector<AppId>& order = pinned_.activationOrder();
    std::vector<std::pair<std::int64_t, Entry*>> ranked;
    ranked.reserve(entries.size());
    for (Entry& entry : entries) {
        const auto at = std::ranges::find(order, entry.id);
        ranked.emplace_back(at == order.end() ? std::numeric_limits<std::int64_t>::max() : at - order.begin(), &entry);
    }
    std::ranges::stable_sort(ranked, [this](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return text_.compare(a.second->name, b.second->name) < 0;
    });
    std::vector<Entry> sorted;
    sorted.reserve(entries.size());
    for (const auto& [rank, entry] : ranked)
        sorted.push_back(std::move(*entry));
    return sorted;
}

const OverviewEntry* OverviewState::defaultSelection(const std::vector<Entry>& entries) const {
    if (entries.empty()) return nullptr;
    if (entries.size() == 1) return &entries.front();
    const std::vector<AppId>& order = pinned_.activationOrder();
    const bool firstIsCurrent = (!order.empty() && order.front() == entries.front().id) || entries.front().isFocusedApp;
    return firstIsCurrent ? &entries[1] : &entries.front();
}

const OverviewEntry* OverviewState::selectedEntry(const std::vector<Entry>& entries) const {
    if (selectedID_) {
        const auto found = std::ranges::find(entries, *selectedID_, &Entry::id);
        if (found != entries.end()) return &*found;
    }
    return defaultSelection(entries);
}

std::optional<WindowInfo> OverviewState::bestWindow(const Entry& entry) {
    const std::vector<WindowInfo>& windows = entry.windows;
    if (windows.empty()) return std::nullopt;
    if (const auto focused = std::ranges::find_if(windows, &WindowInfo::isFocused); focused != windows.end())
        return *focused;
    if (const auto shown = std::ranges::find_if(windows, [](const WindowInfo& w) { return !w.isMinimized; });
        shown != windows.end())
        return *shown;
    return windows.front();
}

void OverviewState::setSelectedID(std::optional<std::string> id) {
    if (id == selectedID_) return;
    selectedID_ = std::move(id);
    selectionChanged.emit();
}

}  // namespace quillbern
