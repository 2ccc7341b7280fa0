#include "core/palettes/OverviewState.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_map>

namespace quillbern {

namespace {

constexpr std::string_view kPidKeyPrefix = "pid:";

struct Group {
    std::string key;
    std::set<Pid> pids;
    std::vector<WindowInfo> windows;
};

// The running applications of one read, found by process and by identity.
class RunningIndex {
public:
    explicit RunningIndex(std::vector<RunningApp> apps) : apps_(std::move(apps)) {
        byPid_.reserve(apps_.size());
        for (const RunningApp& app : apps_)
            byPid_.emplace(app.pid, &app);
    }
    const RunningApp* app(Pid pid) const {
        const auto found = byPid_.find(pid);
        return found == byPid_.end() ? nullptr : found->second;
    }
    // The first the system lists with that identity.
    const RunningApp* firstWithId(std::string_view id) const {
        const auto found = std::ranges::find_if(apps_, [id](const RunningApp& app) { return app.appId == id; });
        return found == apps_.end() ? nullptr : &*found;
    }

private:
    std::vector<RunningApp> apps_;
    std::unordered_map<Pid, const RunningApp*> byPid_;
};

}  // namespace

OverviewState::OverviewState(WindowEngine& engine, PinnedStore& pinned, const RunningApps& apps,
                             const TextServices& text)
    : engine_(engine), pinned_(pinned), apps_(apps), text_(text) {
    const auto changed = [this] { entriesChanged.emit(); };
    watches_.push_back(engine.snapshotChanged.connect(changed));
    watches_.push_back(pinned.runningChanged.connect(changed));
    watches_.push_back(pinned.activationOrderChanged.connect(changed));
}

std::vector<OverviewEntry> OverviewState::allEntries() const {
    const std::vector<WindowInfo>& windows = engine_.snapshot().windows;
    const std::map<Pid, AppId>& owners = pinned_.ownerBundleIDByPID();
    const RunningIndex running(apps_.runningApps());

    std::vector<Group> groups;
    // Where each process's windows go; -1 for a process without a running application.
    std::unordered_map<Pid, int> groupOfPid;
    std::unordered_map<std::string_view, int> groupOfOwner;
    std::optional<Pid> focused;
    for (const WindowInfo& window : windows) {
        // Windows that are skipped still tell which process is focused.
        if (!focused && window.isFocused) focused = window.pid;
        auto [place, isNew] = groupOfPid.try_emplace(window.pid, -1);
        if (isNew && running.app(window.pid)) {
            const auto owner = owners.find(window.pid);
            if (owner == owners.end()) {
                place->second = int(groups.size());
                groups.push_back({std::string(kPidKeyPrefix) + std::to_string(window.pid), {}, {}});
            } else {
                const auto [known, isNewOwner] = groupOfOwner.try_emplace(owner->second, int(groups.size()));
                if (isNewOwner) groups.push_back({owner->second, {}, {}});
                place->second = known->second;
            }
        }
        if (place->second < 0) continue;
        Group& group = groups[std::size_t(place->second)];
        group.pids.insert(window.pid);
        group.windows.push_back(window);
    }

    std::vector<Entry> entries;
    entries.reserve(groups.size());
    for (Group& group : groups) {
        const RunningApp* app = nullptr;
        if (!group.key.starts_with(kPidKeyPrefix)) app = running.firstWithId(group.key);
        for (auto pid = group.pids.begin(); !app && pid != group.pids.end(); ++pid)
            app = running.app(*pid);
        Entry entry;
        entry.name = app && app->name ? *app->name : group.windows.front().appName;
        entry.icon = app ? pinned_.icon(*app) : nullptr;
        entry.isFocusedApp = focused && group.pids.contains(*focused);
        entry.id = std::move(group.key);
        entry.pids = std::move(group.pids);
        entry.windows = std::move(group.windows);
        entries.push_back(std::move(entry));
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
