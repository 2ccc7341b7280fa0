#pragma once

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/Uuid.h"
#include "core/model/DockEdge.h"
#include "core/model/PinnedItem.h"
#include "core/model/PinnedStore.h"
#include "core/platform/Launcher.h"
#include "core/platform/MenuModel.h"

namespace quillbern {

// The edge of a tile that its popover's arrow points at: the popover stands beyond it.
enum class ArrowEdge { top, bottom, leading, trailing };

// Away from the dock's edge: above the tiles of a dock at the bottom, beside those of a
// dock at the side; above when the dock is not known.
ArrowEdge popoverArrowEdge(std::optional<DockEdge> dockEdge);

// The pinned folders' tiles of one dock: which one's popover is open, and the dock's hold
// while it is. A click opens a tile's popover, or closes the open one; a click that comes
// right after the popover closed, by whatever means, does nothing, so the click that
// closed it from outside never opens it again. The hold is taken when a popover opens and
// given back exactly once: when it closes, when its tile leaves the dock, or when the dock
// goes. Main thread.
class LocationTiles {
public:
    // A click sooner than this after a popover of the tile closed does nothing.
    static constexpr Duration kReopenGuard = 0.3;

    LocationTiles(const Clock& clock, PinnedStore& store, Launcher& launcher, Uuid profileID,
                  std::function<void(bool)> onInteractionLock);
    ~LocationTiles();
    LocationTiles(const LocationTiles&) = delete;
    LocationTiles& operator=(const LocationTiles&) = delete;

    // A click on the tile.
    void click(const Uuid& locationID);
    // The open popover closed: its own dismissal, a click elsewhere, or the tile's click.
    void closed();
    // The dock now shows these locations; an open popover whose tile went closes.
    void keepOnly(const std::vector<Uuid>& locationIDs);
    std::optional<Uuid> openLocation() const { return open_; }

    // "Open in File Manager", then "Remove from dock", which can be undone.
    MenuModel menu(const PinnedLocation& location) const;

    // The popover of that location is to show, or the open one to close (none).
    std::function<void(const std::optional<Uuid>&)> onPresent;

private:
    void setOpen(std::optional<Uuid> location);

    const Clock& clock_;
    PinnedStore& store_;
    Launcher& launcher_;
    Uuid profileID_;
    std::function<void(bool)> onInteractionLock_;
    std::optional<Uuid> open_;
    std::map<Uuid, MediaTime> closedAt_;
};

}  // namespace quillbern
