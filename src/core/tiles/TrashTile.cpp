#include "core/tiles/TrashTile.h"

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"

namespace quillbern {

TrashTile::TrashTile(Ports ports, PinnedTrash trash, Uuid profileID)
    : ports_(ports),
      trash_(trash),
      profileID_(profileID),
      folder_(ports.files.userDirectory(UserDirectory::trash)),
      watcher_(ports.folders, ports.files) {
    if (!folder_) return;
    isFull_ = readFullness();
    if (!isFull_) return;
    // A Trash folder that goes away stops the watch by itself; the tile keeps what it knew.
    watcher_.watch(
        *folder_, [this] { refresh(); }, [](const std::optional<Path>&) {});
}

std::optional<bool> TrashTile::readFullness() const {
    const auto listed = ports_.files.list(*folder_, false);
    if (!listed) return std::nullopt;
    return !listed.value().empty();
}

void TrashTile::refresh() {
    const std::optional<bool> full = readFullness();
    if (full == isFull_) return;
    isFull_ = full;
    changed.emit();
}

void TrashTile::open() const {
    openTrash(ports_, folder_);
}

void TrashTile::openTrash(const Ports& ports, const std::optional<Path>& folder) {
    if (!folder) return;
    // The desktop's own view of the Trash where it has one, else its files folder.
    if (ports.launcher.openUrl("trash:///") || ports.launcher.open(*folder)) return;
    log("the Trash was not opened: no application opens trash:/// nor folders");
    AlertSpec alert;
    alert.style = AlertSpec::Style::warning;
    alert.floating = true;
    alert.message = trf("“%@” was not opened", tr("Trash"));
    alert.informative =
        tr("No application on this desktop opens the Trash or folders. Install a file manager, then "
           "open the Trash again.");
    alert.buttons = {tr("OK")};
    // Told once the click or the menu that asked is over.
    ports.mainLoop.post([&alerts = ports.alerts, alert] { alerts.runModal(alert); });
}

MenuModel TrashTile::menu() const {
    // The menu may outlive the tile: its rows hold what they act on.
    MenuModel menu;
    menu.add(tr("Open in File Manager"), [ports = ports_, folder = folder_] { openTrash(ports, folder); });
    menu.addSeparator();
    menu.add(tr("Remove from dock"), [&pinned = ports_.pinned, trash = trash_, profileID = profileID_] {
        pinned.unpinTrash(trash.id, profileID);
    });
    return menu;
}

}  // namespace quillbern
