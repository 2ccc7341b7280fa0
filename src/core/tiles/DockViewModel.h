#pragma once

#include <optional>
#include <set>
#include <span>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/foundation/Uuid.h"
#include "core/model/AppearanceStore.h"
#include "core/model/PinnedStore.h"
#include "core/tiles/DockBarContent.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// What the view of one dock on one display derives from the stores. Every answer is computed
// afresh, and `changed` tells when any input may have changed.
// Main thread.
class DockViewModel {
public:
    DockViewModel(WindowEngine& engine, PinnedStore& pinned, AppearanceStore& appearance, Uuid profileID,
                  DisplayId display);
    DockViewModel(const DockViewModel&) = delete;
    DockViewModel& operator=(const DockViewModel&) = delete;

    const Uuid& profileID() const { return profileID_; }
    DisplayId displayID() const { return display_; }

    std::optional<Profile> profile() const;
    // The snapshot's windows on this display, in snapshot order.
    std::vector<WindowInfo> windows() const;
    // Those of this display's running processes that own windows and belong to no pinned
    // application of the dock; none unless the dock shows windows and access is trusted.
    std::vector<TransientDockApp> transientApps() const;
    std::optional<Pid> focusedPID() const;
    // Prefers the windows on this dock's display.
    std::optional<WindowInfo> bestWindow(std::span<const WindowInfo> windows) const;
    Size bounceVector() const;
    DockBarContent content() const;
    // The item is being dragged, from this dock or another: its tile is dimmed.
    bool isBeingDragged(const PinnedItem& item) const;

    // After a change of the docks, the running or launching applications, the drag, the
    // window snapshot, the trust in window access or the look.
    Signal<> changed;

private:
    std::vector<TransientDockApp> transientApps(const std::optional<Profile>& profile) const;

    WindowEngine& engine_;
    PinnedStore& pinned_;
    AppearanceStore& appearance_;
    Uuid profileID_;
    DisplayId display_;
    std::set<AppId> launching_;  // as last told
    std::vector<Subscription> observers_;
};

}  // namespace quillbern
