#pragma once

#include <QIcon>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/settings/ItemRowsModel.h"

class QLabel;
class QMimeData;
class QVBoxLayout;

namespace quillbern {

class EditorRowChrome;

// One pinned item of the dock editor: its icon, its name (and a folder's path), the remove
// button, a drag source that reorders the dock's items and a drop target for that drag.
class ItemRow final : public QWidget {
public:
    ItemRow(ItemRowsModel& model, const ItemRowData& data, QIcon icon, QWidget* parent = nullptr);

    void setData(const ItemRowData& data, QIcon icon);
    const ItemRowData& data() const { return data_; }
    EditorRowChrome& chrome() const { return *chrome_; }
    // The item left the dock: the row goes, once its drag has ended.
    void retire();
    // The contents of a drag of this item.
    static QMimeData* dragData(const std::string& itemID);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void applyData(QIcon icon);

    ItemRowsModel& model_;
    ItemRowData data_;
    QLabel* icon_;
    QLabel* title_;
    QLabel* subtitle_;
    EditorRowChrome* chrome_;
    QPoint pressedAt_;
    bool dragging_ = false;
    bool retired_ = false;
};

// The pinned items of one dock, one row each in the dock's order, 2 apart. Rows are kept
// per item and only moved as the items move, so the row whose drag reorders them lives on.
class ItemRows final : public QWidget {
public:
    // The picture of an application's row; a null icon shows the placeholder.
    using AppIcon = std::function<QIcon(const PinnedApp&)>;
    // `trashIcon` stands for the Trash; null when the desktop names no Trash folder.
    ItemRows(ItemRowsModel& model, AppIcon appIcon, std::function<QIcon(const std::string&)> folderIcon,
             QIcon trashIcon, QWidget* parent = nullptr);

    // Follows the dock's items.
    void sync();
    // In the list's order.
    std::vector<ItemRow*> rows() const;
    ItemRow* row(const std::string& itemID) const;

private:
    QIcon iconOf(const ItemRowData& data) const;

    ItemRowsModel& model_;
    AppIcon appIcon_;
    std::function<QIcon(const std::string&)> folderIcon_;
    QIcon trashIcon_;
    QVBoxLayout* layout_;
    std::map<std::string, ItemRow*> rowsByItem_;
};

}  // namespace quillbern
