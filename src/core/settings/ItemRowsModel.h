#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Uuid.h"
#include "core/model/PinnedStore.h"

namespace quillbern {

// One row of a dock's item list in the editor. A legacy folder has none.
struct ItemRowData {
    enum class Kind { app, location, trash };
    // The item's stable identifier.
    std::string itemID;
    Kind kind = Kind::app;
    // Verbatim for an application or a folder; "Trash" for the Trash.
    std::string title;
    // A folder's path with the home folder shown as "~"; empty otherwise.
    std::string subtitle;
    // The application of an app row, for its icon.
    std::optional<PinnedApp> app;
    // A folder's path, for its icon.
    std::string path;
    bool operator==(const ItemRowData&) const = default;
};

// The rows of one dock's pinned items, their removal, and the drag that reorders them:
// a drag of this dock's items only, moved live as the pointer enters another row. Every
// change goes through the store. Main thread.
class ItemRowsModel {
public:
    // `home` is the user's home folder, empty when unknown.
    ItemRowsModel(PinnedStore& pinned, std::string home, const Uuid& profileID);

    const Uuid& profileID() const { return profileID_; }
    void setProfileID(const Uuid& id) { profileID_ = id; }
    std::vector<ItemRowData> rows() const;
    // The rows of these items; an older folder has none.
    static std::vector<ItemRowData> rowsOf(const std::vector<PinnedItem>& items, std::string_view home);
    // The row's remove button: the store records it for undo.
    void remove(const ItemRowData& row);

    void dragStarted(const std::string& itemID);
    // The item being dragged, when the drag is one of this dock's and carries the pin type.
    std::optional<std::string> draggedItem(bool offersPin) const;
    // The pointer came onto a row: the dragged item takes its place.
    void dragEntered(const std::string& targetItemID, bool offersPin);
    bool acceptsDrop(bool offersPin) const { return draggedItem(offersPin).has_value(); }
    // Released over a row: ends the drag whatever it was; true when it was one of ours.
    bool dropped(bool offersPin);

private:
    PinnedStore& pinned_;
    std::string home_;
    Uuid profileID_;
};

// The path with the home folder written "~", only where the home is a whole leading part.
std::string abbreviatingHome(std::string_view path, std::string_view home);

}  // namespace quillbern
