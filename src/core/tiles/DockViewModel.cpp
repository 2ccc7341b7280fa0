#include "core/tiles/DockViewModel.h"

#include "core/tiles/DockWindows.h"

namespace quillbern {

DockViewModel::DockViewModel(WindowEngine& engine, PinnedStore& pinned, AppearanceStore& appearance, Uuid profileID,
                             DisplayId display)
    : engine_(engine),
      pinned_(pinned),
      appearance_(appearance),
      profileID_(profileID),
      display_(display),
      launching_(pinned.launchingBundleIDs()) {
    const auto tell = [this] { changed.emit(); };
    observers_.push_back(pinned_.profilesChanged.connect(tell));
    observers_.push_back(pinned_.runningChanged.connect(tell));
    observers_.push_back(pinned_.iconsChanged.connect(tell));
    observers_.push_back(pinned_.launchingChanged.connect([this] {
        // The store tells at every refresh of the running applications; most leave the set alone.
        if (pinned_.launchingBundleIDs() == launching_) return;
        launching_ = pinned_.launchingBundleIDs();
        changed.emit();
    }));
    observers_.push_back(pinned_.dragSessionChanged.connect(tell));
    observers_.push_back(engine_.snapshotChanged.connect(tell));
    observers_.push_back(engine_.trustChanged.connect(tell));
    observers_.push_back(appearance_.changed.connect(tell));
}

std::optional<Profile> DockViewModel::profile() const {
    return pinned_.profile(profileID_);
}

std::vector<WindowInfo> DockViewModel::windows() const {
    return windowsOnDisplay(engine_.snapshot().windows, display_);
}

std::vector<TransientDockApp> DockViewModel::transientApps() const {
    return transientApps(profile());
}

std::vector<TransientDockApp> DockViewModel::transientApps(const std::optional<Profile>& profile) const {
    if (!profile || !profile->showsWindows || !engine_.isTrusted()) return {};
    return transientDockApps(windows(), pinned_, pinnedBundleIDs(*profile));
}

std::optional<Pid> DockViewModel::focusedPID() const {
    return quillbern::focusedPID(engine_.snapshot().windows);
}

std::optional<WindowInfo> DockViewModel::bestWindow(std::span<const WindowInfo> windows) const {
    return quillbern::bestWindow(windows, display_);
}

Size DockViewModel::bounceVector() const {
    return quillbern::bounceVector(profile(), appearance_.tileSize());
}

DockBarContent DockViewModel::content() const {
    std::optional<Profile> current = profile();
    std::vector<TransientDockApp> transient = transientApps(current);
    return decideBarContent(std::move(current), engine_.isTrusted(), std::move(transient));
}

bool DockViewModel::isBeingDragged(const PinnedItem& item) const {
    const std::optional<DragSession>& drag = pinned_.dragSession();
    return drag && drag->itemID == item.id();
}

}  // namespace quillbern
