#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/model/PinnedStore.h"
#include "core/platform/RunningApps.h"
#include "core/platform/TextServices.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// One application with windows, as the overview shows it.
struct OverviewEntry {
    // Which application it is (applicationKey): the owning application's identity, else the
    // class its windows name, else the process alone.
    std::string id;
    std::string name;
    ImageHandle icon;
    // An application's helper processes may own windows of their own.
    std::set<Pid> pids;
    // In snapshot order; never empty.
    std::vector<WindowInfo> windows;
    // It holds the process of the focused window.
    bool isFocusedApp = false;
};

// What one showing of the overview shows: the applications that have windows, derived anew
// from the window snapshot, the owners of the processes and the activation order at every
// read, so an open overview follows them; and which one is selected. Main thread.
class OverviewState {
public:
    using Entry = OverviewEntry;

    OverviewState(WindowEngine& engine, PinnedStore& pinned, const RunningApps& apps, const TextServices& text);

    // Most recently activated first, then never activated ones by name, then in the order
    // their first windows appear. Only windows of running applications count.
    std::vector<Entry> allEntries() const;
    // What to select when nothing listed is: the previous application when the first one
    // is the current one, else the first; none for no entries. Points into `entries`.
    const Entry* defaultSelection(const std::vector<Entry>& entries) const;
    // The selected entry, else the default selection; points into `entries`.
    const Entry* selectedEntry(const std::vector<Entry>& entries) const;
    // The window a raise of the entry brings forward: its focused one, else its first one
    // not minimised, else its first one.
    static std::optional<WindowInfo> bestWindow(const Entry& entry);

    const std::optional<std::string>& selectedID() const { return selectedID_; }
    // Told only when the value changes.
    void setSelectedID(std::optional<std::string> id);

    // The windows, the owners of the processes or the activation order changed.
    Signal<> entriesChanged;
    Signal<> selectionChanged;

private:
    const WindowEngine& engine_;
    PinnedStore& pinned_;
    const RunningApps& apps_;
    const TextServices& text_;
    std::optional<std::string> selectedID_;
    std::vector<Subscription> watches_;
};

}  // namespace quillbern
