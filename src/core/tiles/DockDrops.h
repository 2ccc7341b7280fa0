#pragma once

#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Uuid.h"
#include "core/model/PinnedStore.h"
#include "core/platform/Alerts.h"
#include "core/platform/AppCatalog.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Launcher.h"
#include "core/tiles/DragTypes.h"
#include "core/tiles/DropHighlight.h"

namespace quillbern {

// What a drag over a dock carries, as far as the dock cares.
enum class DragPayload {
    // One of our pinned tiles.
    pinnedItem,
    // Files, by their local paths.
    files,
};

// What a tile offers the drag over it; the pointer shows it.
enum class DropOperation { move, copy, forbidden };

// What one dock does with drags: a pinned tile dragged across the tiles of its own dock
// reorders the dock as it passes each one; files dropped on an application tile pin the
// applications and folders among them and open the other files with that application;
// dropped on a location tile or the bar, only applications and folders are pinned; dropped
// on the Trash tile, they go to the Trash. A drop is accepted at once and its files are
// handled on a later turn of the main loop, so a failure alert never runs inside the drop.
// Main thread.
class DockDrops {
public:
    // Long-lived: a drop's files are handled after the view that took them may be gone.
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        PinnedStore& pinned;
        FileSystem& files;
        AppCatalog& catalog;
        Launcher& launcher;
        Alerts& alerts;
        RunLoop& mainLoop;
    };

    DockDrops(Ports ports, Uuid profileID, DropHighlight& highlight);
    DockDrops(const DockDrops&) = delete;
    DockDrops& operator=(const DockDrops&) = delete;

    // A pinned tile of this dock begins to be dragged; it replaces any drag left over.
    void dragStarted(const PinnedItem& item);

    // The pointer of a drag came onto a pinned tile, built with `tile` as it stood.
    void tileEntered(const PinnedItem& tile, DragPayload payload);
    DropOperation tileProposal(const PinnedItem& tile, DragPayload payload) const;
    void tileExited(DragPayload payload);
    // Whether the drop was taken; `files` are the local files a file drag carries.
    bool tileDropped(const PinnedItem& tile, DragPayload payload, std::vector<Path> files);
    // Files dropped on the bar outside the tiles; taken when there are any.
    bool barDropped(std::vector<Path> files);

private:
    static void filesDroppedOnTile(const Ports& ports, const PinnedItem& tile, const Uuid& profileID,
                                   const std::vector<Path>& files);
    static void filesDroppedOnBar(const Ports& ports, const Uuid& profileID, const std::vector<Path>& files);

    Ports ports_;
    Uuid profileID_;
    DropHighlight& highlight_;
};

}  // namespace quillbern
