#pragma once

#include <QIcon>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/platform/EasedValue.h"
#include "core/platform/FrameTicker.h"
#include "core/tiles/AppTiles.h"
#include "core/tiles/DockContent.h"
#include "core/tiles/DockDrops.h"
#include "core/tiles/DockViewModel.h"
#include "core/tiles/DropHighlight.h"
#include "core/tiles/LocationTiles.h"
#include "core/tiles/TrashTile.h"
#include "ui/foundation/OutlinedView.h"
#include "ui/model/BarBackground.h"
#include "ui/tiles/TileCell.h"

class QMimeData;

namespace quillbern {

struct BarBackground;
class AuthorizeButton;
class FolderPopover;
class ModelMenu;
class TileStrip;

// The whole content of one dock panel: the bar with its material and drop highlight, the
// dock's name, and under it the strip of tiles (pinned items, then this display's running
// applications that are not pinned), or the hint of an empty dock, or the button that
// asks for window access. Follows the stores in place: tiles keep their state while their
// items stay. Where nothing blends, the panel is cut to the bar's outline. A tile's menu
// holds the dock out while it is open. Pinned tiles are dragged to reorder the dock; files
// dropped on it are pinned, opened or trashed as the tile under them decides. A Trash
// tile shows whether the Trash holds anything, as it changes.
class DockView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    static constexpr Animation kHighlightAnimation{0.12, AnimationCurve::easeOut};

    DockView(DockContent content, FrameClock& frames, QWidget* parent);
    ~DockView() override;

    // What the bar shows now.
    const DockViewModel& model() const { return model_; }
    TileStrip& strip() const { return *strip_; }
    AuthorizeButton& authorizeButton() const { return *authorize_; }
    bool isHighlighted() const { return drop_.isHighlighted(); }
    int tileDragHovers() const { return drop_.tileDragHovers(); }
    // The Trash tile of that item while it shows.
    const TrashTile* trashTile(const Uuid& trashID) const;
    // The tile menu that is open; null when none is.
    ModelMenu* openMenu() const;
    // Opens the menu of the strip's cell at a point on the screen.
    void showMenu(std::size_t cell, QPoint global);
    // The pinned folder's popover that is open; null when none is.
    FolderPopover* openPopover() const;

    // Where the parts stand, in the view's coordinates; empty where a part does not show.
    struct Layout {
        QRectF bar;
        QRectF header;
        QRectF hint;
        QRectF button;
        // Before the button when it follows the strip.
        QRectF separator;
        QRectF scroll;
        bool operator==(const Layout&) const = default;
    };
    const Layout& layout() const { return layout_; }

    QPainterPath outline() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void sync();
    // The bar stands inside the view by its inset, whatever else the layout holds.
    QRectF barRect() const;
    BarBackground background() const;
    void layoutContent();
    // The scroll area, and after it the separator and the access button when they show.
    void placeStripArea(Layout& layout, const QRectF& content, QSizeF button, double stripCross) const;
    std::vector<TileContent> pinnedTiles() const;
    std::vector<TileContent> runningTiles() const;
    TileLook tileLook() const;
    void holdOut(bool held);
    // Keeps a Trash tile for each Trash item of the dock, made when it appears.
    void syncTrashTiles();
    TileContent trashTileContent(std::string key, const PinnedTrash& trash) const;
    // Drags a pinned tile of the strip.
    void startDrag(std::size_t cell);
    // The pinned item whose tile is that cell of the strip, or lies under a point of the view.
    std::optional<PinnedItem> pinnedItemOfCell(std::size_t cell) const;
    std::optional<PinnedItem> pinnedItemAt(const QPointF& point) const;
    // Opens the popover of that pinned folder beside its tile, or closes the open one.
    void presentPopover(const std::optional<Uuid>& location);
    // A drag at this point, or none once it left.
    void dragAt(std::optional<QPointF> point);
    // What a drag carries that the dock takes; none for anything else.
    static std::optional<DragPayload> payloadOf(const QMimeData* data);
    QColor accent() const;
    QString headerText() const;
    void paintHint(QPainter& painter) const;
    // What the view draws itself, under the strip and the button.
    struct BarLook {
        QString header;
        Layout layout;
        BarBackground background;
        bool hasCompositor = false;
        // The drop highlight's colour.
        QColor accent;
        bool operator==(const BarLook&) const = default;
    };
    BarLook barLook() const;

    DockContent content_;
    DockViewModel model_;
    AppTiles appTiles_;
    DockBarContent current_;
    Layout layout_;
    // As last drawn or asked to be: a change of what the view shows repaints it only when this changes.
    BarLook drawnBar_;
    // The corner radius the panel's outline was last told of.
    double outlineRadius_ = 0;
    DropHighlight drop_;
    DockDrops drops_;
    // The drag over the view and the pinned item whose tile it is over.
    std::optional<DragPayload> dragPayload_;
    std::optional<std::string> dragTile_;
    struct ShownTrash {
        std::unique_ptr<TrashTile> tile;
        Subscription observer;
    };
    std::map<Uuid, ShownTrash> trashTiles_;
    EasedValue highlight_;
    FrameTicker ticker_;
    TileStrip* strip_;
    AuthorizeButton* authorize_;
    BarBackgroundPicture backgroundPicture_;
    // Each pinned folder's icon by its path, one icon each so its tile is not drawn anew.
    mutable std::map<std::string, QIcon> folderIcons_;
    QIcon trashIcon_;
    QIcon fullTrashIcon_;
    QPointer<ModelMenu> menu_;
    // The pinned folders' tiles; none where the dock was given nothing to list them with.
    std::unique_ptr<LocationTiles> locationTiles_;
    QPointer<FolderPopover> popover_;
    // Whether an open menu holds the dock out.
    bool heldOut_ = false;
    std::vector<Subscription> observers_;
};

}  // namespace quillbern
