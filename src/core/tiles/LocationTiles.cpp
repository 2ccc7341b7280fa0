#include "core/tiles/LocationTiles.h"

#include <algorithm>
#include <utility>

#include "core/foundation/Localization.h"

namespace quillbern {

ArrowEdge popoverArrowEdge(std::optional<DockEdge> dockEdge) {
    if (!dockEdge) return ArrowEdge::top;
    switch (*dockEdge) {
        case DockEdge::bottom:
            return ArrowEdge::top;
        case DockEdge::top:
            return ArrowEdge::bottom;
        case DockEdge::left:
            return ArrowEdge::trailing;
        case DockEdge::right:
            return ArrowEdge::leading;
    }
    return ArrowEdge::top;
}

LocationTiles::LocationTiles(const Clock& clock, PinnedStore& store, Launcher& launcher, Uuid profileID,
                             std::function<void(bool)> onInteractionLock)
    : clock_(clock),
      store_(store),
      launcher_(launcher),
      profileID_(profileID),
      onInteractionLock_(std::move(onInteractionLock)) {}

LocationTiles::~LocationTiles() {
    // The dock goes with its popover open: the hold goes with it, and no one hears of it.
    onPresent = nullptr;
    setOpen(std::nullopt);
}

void LocationTiles::click(const Uuid& locationID) {
    if (open_ == locationID) {
        setOpen(std::nullopt);
        return;
    }
    if (const auto it = closedAt_.find(locationID);
        it != closedAt_.end() && !(clock_.mediaNow() - it->second > kReopenGuard)) {
        return;
    }
    setOpen(locationID);
}

void LocationTiles::closed() {
    setOpen(std::nullopt);
}

void LocationTiles::keepOnly(const std::vector<Uuid>& locationIDs) {
    if (open_ && std::ranges::find(locationIDs, *open_) == locationIDs.end()) setOpen(std::nullopt);
}

void LocationTiles::setOpen(std::optional<Uuid> location) {
    if (location == open_) return;
    const std::optional<Uuid> previous = std::exchange(open_, location);
    if (previous) closedAt_[*previous] = clock_.mediaNow();
    // Another tile's popover replaces this one: the dock stays held, once.
    if (previous.has_value() != location.has_value() && onInteractionLock_) onInteractionLock_(location.has_value());
    if (onPresent) onPresent(open_);
}

MenuModel LocationTiles::menu(const PinnedLocation& location) const {
    MenuModel menu;
    menu.add(tr("Open in File Manager"), [&launcher = launcher_, path = location.path] { launcher.open(path); });
    menu.addSeparator();
    menu.add(tr("Remove from dock"),
             [&store = store_, id = location.id, profile = profileID_] { store.unpinLocation(id, profile); });
    return menu;
}

}  // namespace quillbern
