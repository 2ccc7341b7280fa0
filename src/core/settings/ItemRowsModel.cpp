#include "core/settings/ItemRowsModel.h"

#include <utility>
#include <variant>

#include "core/foundation/Localization.h"

namespace quillbern {

ItemRowsModel::ItemRowsModel(PinnedStore& pinned, std::string home, const Uuid& profileID)
    : pinned_(pinned), home_(std::move(home)), profileID_(profileID) {}

std::vector<ItemRowData> ItemRowsModel::rows() const {
    const Profile* dock = pinned_.findProfile(profileID_);
    return dock ? rowsOf(dock->items, home_) : std::vector<ItemRowData>{};
}

std::vector<ItemRowData> ItemRowsModel::rowsOf(const std::vector<PinnedItem>& items, std::string_view home) {
    std::vector<ItemRowData> rows;
    for (const PinnedItem& item : items) {
        ItemRowData row;
        row.itemID = item.id();
        if (const PinnedApp* app = item.app()) {
            row.kind = ItemRowData::Kind::app;
            row.title = app->name;
            row.app = *app;
        } else if (const PinnedLocation* location = item.location()) {
            row.kind = ItemRowData::Kind::location;
            row.title = location->name;
            row.subtitle = abbreviatingHome(location->path, home);
            row.path = location->path;
        } else if (item.trash()) {
            row.kind = ItemRowData::Kind::trash;
            row.title = tr("Trash");
        } else {
            continue;  // An older folder: no row, and nothing to remove here.
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void ItemRowsModel::remove(const ItemRowData& row) {
    const Profile* dock = pinned_.findProfile(profileID_);
    if (!dock) return;
    for (const PinnedItem& item : dock->items) {
        if (item.id() != row.itemID) continue;
        if (const PinnedApp* app = item.app()) {
            pinned_.unpin(app->bundleID, profileID_);
        } else if (const PinnedLocation* location = item.location()) {
            pinned_.unpinLocation(location->id, profileID_);
        } else if (const PinnedTrash* trash = item.trash()) {
            pinned_.unpinTrash(trash->id, profileID_);
        }
        return;
    }
}

void ItemRowsModel::dragStarted(const std::string& itemID) {
    pinned_.setDragSession(DragSession{itemID, profileID_});
}

std::optional<std::string> ItemRowsModel::draggedItem(bool offersPin) const {
    const std::optional<DragSession>& session = pinned_.dragSession();
    if (!offersPin || !session || session->profileID != profileID_) return std::nullopt;
    return session->itemID;
}

void ItemRowsModel::dragEntered(const std::string& targetItemID, bool offersPin) {
    if (const std::optional<std::string> dragged = draggedItem(offersPin))
        pinned_.move(*dragged, targetItemID, profileID_);
}

bool ItemRowsModel::dropped(bool offersPin) {
    // The order changed while the row passed the others; the drop only ends the drag.
    const bool ours = draggedItem(offersPin).has_value();
    pinned_.setDragSession(std::nullopt);
    return ours;
}

std::string abbreviatingHome(std::string_view path, std::string_view home) {
    while (home.size() > 1 && home.ends_with('/'))
        home.remove_suffix(1);
    if (home.empty() || home == "/" || !path.starts_with(home)) return std::string(path);
    const std::string_view rest = path.substr(home.size());
    if (!rest.empty() && rest.front() != '/') return std::string(path);
    return "~" + std::string(rest);
}

}  // namespace quillbern
