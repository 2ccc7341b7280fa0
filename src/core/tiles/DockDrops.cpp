#include "core/tiles/DockDrops.h"

#include "core/tiles/TrashDrop.h"

namespace quillbern {

DockDrops::DockDrops(Ports ports, Uuid profileID, DropHighlight& highlight)
    : ports_(ports), profileID_(profileID), highlight_(highlight) {}

void DockDrops::dragStarted(const PinnedItem& item) {
    ports_.pinned.setDragSession(DragSession{item.id(), profileID_});
}

void DockDrops::tileEntered(const PinnedItem& tile, DragPayload payload) {
    if (payload == DragPayload::files) {
        highlight_.tileDragEntered();
        return;
    }
    // The store moves only the item being dragged, and only within its own dock.
    if (const std::optional<DragSession>& session = ports_.pinned.dragSession())
        ports_.pinned.move(session->itemID, tile.id(), profileID_);
}

DropOperation DockDrops::tileProposal(const PinnedItem& tile, DragPayload payload) const {
    if (payload == DragPayload::files) return tile.trash() ? DropOperation::move : DropOperation::copy;
    const std::optional<DragSession>& session = ports_.pinned.dragSession();
    return session && session->profileID == profileID_ ? DropOperation::move : DropOperation::forbidden;
}

void DockDrops::tileExited(DragPayload payload) {
    if (payload == DragPayload::files) highlight_.tileDragExited();
}

bool DockDrops::tileDropped(const PinnedItem& tile, DragPayload payload, std::vector<Path> files) {
    if (payload == DragPayload::pinnedItem) {
        // The order already changed while the tile passed the others.
        ports_.pinned.setDragSession(std::nullopt);
        return true;
    }
    highlight_.tileDragExited();
    ports_.pinned.setDragSession(std::nullopt);
    if (files.empty()) return false;
    ports_.mainLoop.post([ports = ports_, tile, profileID = profileID_, files = std::move(files)] {
        filesDroppedOnTile(ports, tile, profileID, files);
    });
    return true;
}

bool DockDrops::barDropped(std::vector<Path> files) {
    if (files.empty()) return false;
    ports_.mainLoop.post([ports = ports_, profileID = profileID_, files = std::move(files)] {
        filesDroppedOnBar(ports, profileID, files);
    });
    return true;
}

void DockDrops::filesDroppedOnTile(const Ports& ports, const PinnedItem& tile, const Uuid& profileID,
                                   const std::vector<Path>& files) {
    if (tile.trash()) {
        moveDroppedToTrash(files, ports.files, ports.alerts, ports.launcher);
        return;
    }
    std::vector<Path> apps;
    std::vector<Path> folders;
    std::vector<Path> plain;
    for (const Path& file : files) {
        if (ports.catalog.isApplicationPath(file)) {
            apps.push_back(file);
        } else if (ports.files.isDirectory(file)) {
            folders.push_back(file);
        } else {
            plain.push_back(file);
        }
    }
    // Applications are pinned, never opened, and come before the folders.
    for (const Path& app : apps)
        ports.pinned.pinApp(app, profileID);
    for (const Path& folder : folders)
        ports.pinned.pinLocation(folder, profileID);
    if (const PinnedApp* app = tile.app(); app && !plain.empty()) ports.pinned.open(plain, *app);
}

void DockDrops::filesDroppedOnBar(const Ports& ports, const Uuid& profileID, const std::vector<Path>& files) {
    // One pass in the drop's order; plain files are left alone.
    for (const Path& file : files) {
        if (ports.catalog.isApplicationPath(file)) {
            ports.pinned.pinApp(file, profileID);
        } else {
            ports.pinned.pinLocation(file, profileID);
        }
    }
}

}  // namespace quillbern
