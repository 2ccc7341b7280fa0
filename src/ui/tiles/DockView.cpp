#include "ui/tiles/DockView.h"

#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QToolTip>
#include <QUrl>
#include <algorithm>

#include "core/model/AppearanceStore.h"
#include "core/platform/SystemAppearance.h"
#include "core/tiles/DockMetrics.h"
#include "core/tiles/LocationBrowser.h"
#include "core/windows/AXPermission.h"
#include "ui/foundation/ElidedText.h"
#include "ui/foundation/ModelMenu.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/model/BarBackground.h"
#include "ui/tiles/AuthorizeButton.h"
#include "ui/tiles/BarStyle.h"
#include "ui/tiles/FolderPopover.h"
#include "ui/tiles/SymbolLabel.h"
#include "ui/tiles/TileStrip.h"

namespace quillbern {

namespace {

constexpr double kTintOpacity = 0.25;
constexpr double kHighlightOpacity = 0.65;
constexpr double kHighlightWidth = 2;

QFont headerFont() {
    return barFont(dockbar::kHeaderFontSize, kHeadingWeight);
}

QString text(const std::string& text) {
    return QString::fromStdString(text);
}

TileContent appTileContent(std::string key, AppTile tile) {
    const AppTileState& state = tile.state;
    TileContent content;
    content.key = std::move(key);
    content.name = text(state.name);
    content.image = state.icon;
    content.iconOpacity = appTileIconOpacity(state);
    content.dotOpacity = appTileDotOpacity(state);
    content.isLaunching = state.isLaunching;
    content.toolTip = text(appTileToolTip(state));
    content.accessibleName = text(appTileAccessibilityLabel(state));
    content.accessibleValue = text(appTileAccessibilityValue(state));
    content.activate = std::move(tile.activate);
    content.hover = std::move(tile.hover);
    content.menu = std::move(tile.menu);
    return content;
}

SymbolLabel dragHint(const QPalette& palette) {
    return {"plus.square.on.square", localized("Drag an app here"), barFont(dockbar::kHintFontSize),
            withOpacity(palette.color(QPalette::WindowText), kSecondaryOpacity)};
}

QSizeF padded(QSizeF size, double padding) {
    return {size.width() + 2 * padding, size.height() + 2 * padding};
}

const QString kPinnedItemType = QString::fromLatin1(kPinnedItemDragType.data(), kPinnedItemDragType.size());
constexpr std::string_view kItemKeyPrefix = "item:";

// The local files a drag carries, as their paths' bytes; other URLs are left out.
std::vector<Path> localFiles(const QMimeData* data) {
    std::vector<Path> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return files;
}

Qt::DropAction actionOf(DropOperation operation) {
    return operation == DropOperation::move ? Qt::MoveAction : Qt::CopyAction;
}

// Takes the drag with the operation the tile offers, where the source allows it.
void propose(QDropEvent* event, DropOperation operation) {
    if (operation == DropOperation::forbidden) {
        event->ignore();
        return;
    }
    if (event->possibleActions() & actionOf(operation)) {
        event->setDropAction(actionOf(operation));
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

}  // namespace

DockView::DockView(DockContent content, FrameClock& frames, QWidget* parent)
    : QWidget(parent),
      content_(content),
      model_(*content.engine, *content.pinned, *content.appearance, content.profile, content.display),
      appTiles_(model_, *content.engine, *content.pinned, *content.apps, {content.onHoverTile, content.onColdLaunch},
                content.workspace),
      drops_({.pinned = *content.pinned,
              .files = *content.files,
              .catalog = *content.catalog,
              .launcher = *content.launcher,
              .alerts = *content.alerts,
              .mainLoop = *content.mainLoop},
             content.profile, drop_),
      ticker_(
          frames, [this](MediaTime now) { return highlight_.isMoving(now); }, [this] { update(); }),
      strip_(new TileStrip(frames, this)),
      authorize_(new AuthorizeButton(this)),
      trashIcon_(trashIcon(false)),
      fullTrashIcon_(trashIcon(true)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAcceptDrops(true);
    connect(authorize_, &QAbstractButton::clicked, this, [this] {
        // The trust poll notices a grant; the dock changes with it, not with the answer.
        content_.permission->promptRepairingStaleEntry();
    });
    observers_.push_back(model_.changed.connect([this] { sync(); }));
    observers_.push_back(drop_.changed.connect([this] {
        highlight_.animateTo(drop_.isHighlighted() ? 1 : 0, kHighlightAnimation, content_.clock->mediaNow());
        ticker_.kick();
    }));
    // The accent colours the dots, and reduced motion stills the bounce.
    observers_.push_back(content_.system->onChanged([this] { sync(); }));
    strip_->onMenuRequest = [this](std::size_t cell, QPoint global) { showMenu(cell, global); };
    strip_->onDragStart = [this](std::size_t cell) { startDrag(cell); };
    if (content_.locations) {
        locationTiles_ =
            std::make_unique<LocationTiles>(*content_.clock, *content_.pinned, content_.locations->ports().launcher,
                                            content_.profile, content_.onInteractionLock);
        locationTiles_->onPresent = [this](const std::optional<Uuid>& location) { presentPopover(location); };
    }
    sync();
}

DockView::~DockView() {
    // An open menu goes first: hiding, it would reach members that go before the children.
    if (menu_) {
        menu_->disconnect(this);
        delete menu_.data();
    }
    if (popover_) {
        popover_->onClosed = nullptr;
        delete popover_.data();
    }
    // Gives back the hold of a popover that was open.
    locationTiles_.reset();
    holdOut(false);
}

FolderPopover* DockView::openPopover() const {
    return popover_;
}

void DockView::presentPopover(const std::optional<Uuid>& location) {
    if (popover_) {
        popover_->onClosed = nullptr;
        popover_->close();
        popover_ = nullptr;
    }
    if (!location || !current_.profile) return;
    const auto& items = current_.profile->items;
    const auto item = std::ranges::find_if(items, [&](const PinnedItem& candidate) {
        return candidate.location() && candidate.location()->id == *location;
    });
    const std::string key = "item:location:" + location->text();
    const auto& cells = strip_->cells();
    const auto cell = std::ranges::find_if(cells, [&](const auto& c) { return c->key() == key; });
    if (item == items.end() || cell == cells.end()) {
        locationTiles_->closed();
        return;
    }
    const QRectF frame = strip_->tileFrames()[static_cast<std::size_t>(cell - cells.begin())];
    const QRect tile(strip_->mapToGlobal(frame.topLeft().toPoint()), frame.size().toSize());
    popover_ = new FolderPopover(*content_.locations, *content_.pinned, *item->location(), content_.profile, tile,
                                 popoverArrowEdge(current_.profile->edge), this);
    popover_->onClosed = [this] { locationTiles_->closed(); };
    popover_->show();
}

void DockView::holdOut(bool held) {
    if (held == heldOut_) return;
    heldOut_ = held;
    if (content_.onInteractionLock) content_.onInteractionLock(held);
}

ModelMenu* DockView::openMenu() const {
    return menu_;
}

void DockView::showMenu(std::size_t cell, QPoint global) {
    if (cell >= strip_->cells().size()) return;
    const TileContent& tile = strip_->cells()[cell]->content();
    if (!tile.menu) return;
    if (menu_) menu_->close();
    menu_ = new ModelMenu(tile.menu(), this);
    menu_->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu_, &QMenu::aboutToHide, this, [this] { holdOut(false); });
    holdOut(true);
    menu_->popup(global);
}

void DockView::sync() {
    current_ = model_.content();
    syncTrashTiles();
    const AppearanceStore& look = *content_.appearance;
    if (look.cornerRadius() != outlineRadius_) {
        outlineRadius_ = look.cornerRadius();
        outlineChanged(*this);
    }
    strip_->setLook(tileLook(), isVerticalDock(current_.profile));
    strip_->setTiles(pinnedTiles(), current_.showsSeparator, runningTiles());
    if (locationTiles_) {
        std::vector<Uuid> locations;
        if (current_.profile) {
            for (const PinnedItem& item : current_.profile->items) {
                if (const PinnedLocation* location = item.location()) locations.push_back(location->id);
            }
        }
        locationTiles_->keepOnly(locations);
    }
    strip_->setVisible(current_.body == BarBody::strip);
    authorize_->setVisible(current_.body == BarBody::authorizeAndHint || current_.showsAuthorizeAfterStrip);
    layoutContent();
    // The strip repaints itself when its tiles change.
    if (BarLook look = barLook(); look != drawnBar_) {
        drawnBar_ = std::move(look);
        update();
    }
}

DockView::BarLook DockView::barLook() const {
    return {headerText(), layout_, background(), content_.system->hasCompositor(), accent()};
}

std::vector<TileContent> DockView::pinnedTiles() const {
    std::vector<TileContent> tiles;
    if (!current_.profile) return tiles;
    for (const PinnedItem& item : current_.profile->items) {
        std::string key = "item:" + item.id();
        TileContent tile;
        if (const PinnedApp* app = item.app()) {
            tile = appTileContent(std::move(key), appTiles_.pinnedAppTile(*app));
        } else if (const PinnedLocation* location = item.location()) {
            tile.key = std::move(key);
            tile.name = text(location->name);
            auto icon = folderIcons_.find(location->path);
            if (icon == folderIcons_.end())
                icon = folderIcons_.emplace(location->path, folderIcon(location->path)).first;
            tile.themedIcon = icon->second;
            tile.showsHoverBadge = true;
            if (locationTiles_) {
                tile.activate = [this, id = location->id] { locationTiles_->click(id); };
                tile.menu = [this, shown = *location] { return locationTiles_->menu(shown); };
            }
        } else if (const PinnedTrash* trash = item.trash()) {
            tile = trashTileContent(std::move(key), *trash);
        } else {
            // Older nested folders are flattened when the docks load; one that remains takes no room.
            continue;
        }
        if (tile.accessibleName.isEmpty()) tile.accessibleName = tile.name;
        if (tile.toolTip.isEmpty()) tile.toolTip = tile.name;
        tile.isDimmed = model_.isBeingDragged(item);
        tiles.push_back(std::move(tile));
    }
    return tiles;
}

void DockView::syncTrashTiles() {
    std::map<Uuid, ShownTrash> kept;
    if (current_.profile) {
        for (const PinnedItem& item : current_.profile->items) {
            const PinnedTrash* trash = item.trash();
            if (!trash || kept.contains(trash->id)) continue;
            auto found = trashTiles_.find(trash->id);
            if (found != trashTiles_.end()) {
                kept.emplace(trash->id, std::move(found->second));
                continue;
            }
            ShownTrash shown;
            shown.tile = std::make_unique<TrashTile>(TrashTile::Ports{.files = *content_.files,
                                                                      .folders = *content_.folders,
                                                                      .launcher = *content_.launcher,
                                                                      .pinned = *content_.pinned,
                                                                      .alerts = *content_.alerts,
                                                                      .mainLoop = *content_.mainLoop},
                                                     *trash, content_.profile);
            shown.observer = shown.tile->changed.connect([this] { sync(); });
            kept.emplace(trash->id, std::move(shown));
        }
    }
    // A tile that goes stops its watch.
    trashTiles_ = std::move(kept);
}

const TrashTile* DockView::trashTile(const Uuid& trashID) const {
    const auto found = trashTiles_.find(trashID);
    return found == trashTiles_.end() ? nullptr : found->second.tile.get();
}

TileContent DockView::trashTileContent(std::string key, const PinnedTrash& trash) const {
    TileContent tile;
    tile.key = std::move(key);
    // TRANSLATORS: the desktop's Trash (where deleted files go), named as the desktop names it:
    // a dock tile's name and its row in Settings.
    tile.name = localized("Trash");
    tile.showsHoverBadge = true;
    tile.themedIcon = trashIcon_;
    if (const TrashTile* shown = trashTile(trash.id)) {
        if (shown->isFull() == true) tile.themedIcon = fullTrashIcon_;
        tile.activate = [shown] { shown->open(); };
        tile.menu = [shown] { return shown->menu(); };
    }
    return tile;
}

std::vector<TileContent> DockView::runningTiles() const {
    std::vector<TileContent> tiles;
    for (const TransientDockApp& app : current_.transientApps)
        tiles.push_back(appTileContent(app.key, appTiles_.transientTile(app)));
    return tiles;
}

TileLook DockView::tileLook() const {
    const AppearanceStore& look = *content_.appearance;
    // Reduced motion keeps a launching icon still; its dot still fades.
    const Size bounce = content_.system->reduceMotion() ? Size{0, 0} : model_.bounceVector();
    return {look.tileSize(), look.showsLabels(), look.cornerRadius(), QPointF(bounce.width, bounce.height), accent()};
}

void DockView::layoutContent() {
    Layout layout;
    const AppearanceStore& look = *content_.appearance;
    const bool vertical = isVerticalDock(current_.profile);
    layout.bar = barRect();
    const double axisInset = dockbar::kAxisInset;
    const QRectF inner =
        vertical ? layout.bar.adjusted(0, axisInset, 0, -axisInset) : layout.bar.adjusted(axisInset, 0, -axisInset, 0);
    const double headerHeight =
        current_.showsHeader() ? dockbar::kHeaderTopSpace + QFontMetricsF(headerFont()).height() : 0;
    const double headerGap = current_.showsHeader() ? dockbar::kHeaderSpacing : 0;

    // The content's size under the header; the strip takes all the length of the axis.
    QSizeF contentSize;
    QSizeF button;
    QSizeF hint;
    const double stripCross = (vertical ? look.tileSize() : dockbar::tileHeight(look.tileSize(), look.showsLabels())) +
                              2 * dockbar::kStripCrossInset;
    const auto hintSize = [&] {
        const double padding = dockbar::kHintPadding;
        return padded(dragHint(palette()).sizeFor(inner.width() - 2 * padding), padding);
    };
    switch (current_.body) {
        case BarBody::dragHint:
            hint = hintSize();
            contentSize = hint;
            break;
        case BarBody::authorizeAndHint:
            button = authorize_->sizeFor(inner.width());
            hint = hintSize();
            contentSize = {std::max(button.width(), hint.width()),
                           button.height() + dockbar::kPermissionSpacing + hint.height()};
            break;
        case BarBody::strip:
            if (current_.showsAuthorizeAfterStrip) button = authorize_->sizeFor(inner.width());
            contentSize = vertical
                              ? QSizeF(std::max(stripCross, button.width()), inner.height() - headerHeight - headerGap)
                              : QSizeF(inner.width(), std::max(stripCross, button.height()));
            break;
    }
    const double stackHeight = headerHeight + headerGap + contentSize.height();
    const double top = inner.center().y() - stackHeight / 2;
    if (current_.showsHeader()) {
        layout.header = QRectF(inner.left() + dockbar::kHeaderSideSpace, top + dockbar::kHeaderTopSpace,
                               std::max(0.0, inner.width() - 2 * dockbar::kHeaderSideSpace),
                               headerHeight - dockbar::kHeaderTopSpace);
    }
    const QRectF content(inner.center().x() - contentSize.width() / 2, top + headerHeight + headerGap,
                         contentSize.width(), contentSize.height());
    switch (current_.body) {
        case BarBody::dragHint:
            layout.hint = content;
            break;
        case BarBody::authorizeAndHint:
            layout.button =
                QRectF(content.center().x() - button.width() / 2, content.top(), button.width(), button.height());
            layout.hint = QRectF(content.center().x() - hint.width() / 2, content.bottom() - hint.height(),
                                 hint.width(), hint.height());
            break;
        case BarBody::strip:
            placeStripArea(layout, content, button, stripCross);
            break;
    }
    layout_ = layout;
    strip_->setGeometry(layout_.scroll.toAlignedRect());
    authorize_->setGeometry(layout_.button.toAlignedRect());
}

void DockView::placeStripArea(Layout& layout, const QRectF& content, QSizeF button, double stripCross) const {
    const bool vertical = isVerticalDock(current_.profile);
    // A box along the dock's axis from `start`, centred across it.
    const auto alongAxis = [&](double start, double length, double crossLength) {
        return vertical ? QRectF(content.center().x() - crossLength / 2, start, crossLength, length)
                        : QRectF(start, content.center().y() - crossLength / 2, length, crossLength);
    };
    const double start = vertical ? content.top() : content.left();
    const double length = vertical ? content.height() : content.width();
    if (!current_.showsAuthorizeAfterStrip) {
        layout.scroll = alongAxis(start, length, stripCross);
        return;
    }
    // The separator and the button stand after the scroll area and never scroll with it.
    const double buttonAlong = vertical ? button.height() : button.width();
    const double buttonCross = vertical ? button.width() : button.height();
    const double scrollLength = length - 2 * dockbar::kCellGap - dockbar::separatorLength() - buttonAlong;
    layout.scroll = alongAxis(start, scrollLength, stripCross);
    const double separatorAt = start + scrollLength + dockbar::kCellGap + dockbar::kSeparatorPadding;
    layout.separator = alongAxis(separatorAt, dockbar::kSeparatorThickness,
                                 content_.appearance->tileSize() * dockbar::kSeparatorCrossShare);
    const double buttonAt = separatorAt + dockbar::kSeparatorThickness + dockbar::kSeparatorPadding + dockbar::kCellGap;
    layout.button = alongAxis(buttonAt, buttonAlong, buttonCross);
}

QRectF DockView::barRect() const {
    const double inset = dockbar::kBarInset;
    return QRectF(rect()).adjusted(inset, inset, -inset, -inset);
}

BarBackground DockView::background() const {
    const AppearanceStore& look = *content_.appearance;
    const QColor tint = look.glassTint() == GlassTint::accent ? withOpacity(accent(), kTintOpacity) : QColor();
    return {look.material(), look.cornerRadius(), look.reduceTransparency(), tint};
}

QPainterPath DockView::outline() const {
    return background().outline(barRect());
}

void DockView::resizeEvent(QResizeEvent*) {
    layoutContent();
    // Qt repaints a resized view whole.
    drawnBar_ = barLook();
}

QColor DockView::accent() const {
    const Color c = content_.system->accentColor();
    return QColor::fromRgbF(static_cast<float>(c.r), static_cast<float>(c.g), static_cast<float>(c.b),
                            static_cast<float>(c.a));
}

QString DockView::headerText() const {
    return current_.profile ? QString::fromStdString(current_.profile->name) : QString();
}

void DockView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const AppearanceStore& look = *content_.appearance;
    backgroundPicture_.paint(painter, background(), layout_.bar,
                             BackgroundPalette::current(content_.system->hasCompositor()));

    if (const double shown = highlight_.value(content_.clock->mediaNow()); shown > 0) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(withOpacity(accent(), kHighlightOpacity * shown), kHighlightWidth));
        painter.setBrush(Qt::NoBrush);
        const double inset = kHighlightWidth / 2;
        const double radius = std::max(0.0, look.cornerRadius() - inset);
        painter.drawRoundedRect(layout_.bar.adjusted(inset, inset, -inset, -inset), radius, radius);
        painter.restore();
    }

    // A tile's frame seldom reaches the name: laying its text out is most of a small repaint.
    if (current_.showsHeader() && event->rect().intersects(layout_.header.toAlignedRect())) {
        const QFont font = headerFont();
        painter.setFont(font);
        painter.setPen(withOpacity(palette().color(QPalette::WindowText), kSecondaryOpacity));
        const QString shown = elidedText(font, headerText(), Qt::ElideRight, layout_.header.width());
        painter.drawText(layout_.header, Qt::AlignCenter | Qt::TextSingleLine, shown);
    }
    paintHint(painter);
    if (!layout_.separator.isEmpty()) quillbern::paintSeparator(painter, layout_.separator, palette());
}

void DockView::paintHint(QPainter& painter) const {
    if (layout_.hint.isEmpty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double padding = dockbar::kHintPadding;
    dragHint(palette()).paint(painter, layout_.hint.adjusted(padding, padding, -padding, -padding));
    painter.restore();
}

bool DockView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (current_.showsHeader() && layout_.header.contains(help->pos())) {
            QToolTip::showText(help->globalPos(), toolTipAsWritten(headerText()), this, layout_.header.toAlignedRect());
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

std::optional<DragPayload> DockView::payloadOf(const QMimeData* data) {
    if (!data) return std::nullopt;
    if (data->hasFormat(kPinnedItemType)) return DragPayload::pinnedItem;
    if (!localFiles(data).empty()) return DragPayload::files;
    return std::nullopt;
}

std::optional<PinnedItem> DockView::pinnedItemOfCell(std::size_t cell) const {
    if (!current_.profile || cell >= strip_->pinnedCount()) return std::nullopt;
    const std::string& key = strip_->cells()[cell]->key();
    for (const PinnedItem& item : current_.profile->items) {
        if (key.size() > kItemKeyPrefix.size() && key.substr(kItemKeyPrefix.size()) == item.id()) return item;
    }
    return std::nullopt;
}

std::optional<PinnedItem> DockView::pinnedItemAt(const QPointF& point) const {
    if (!strip_->isVisible()) return std::nullopt;
    const std::optional<std::size_t> cell = strip_->cellAt(strip_->mapFrom(this, point));
    return cell ? pinnedItemOfCell(*cell) : std::nullopt;
}

void DockView::startDrag(std::size_t cell) {
    const std::optional<PinnedItem> item = pinnedItemOfCell(cell);
    if (!item) return;
    drops_.dragStarted(*item);
    auto* data = new QMimeData;
    data->setData(kPinnedItemType, QByteArray::fromStdString(item->id()));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QRect tile = strip_->tileFrames()[cell].toAlignedRect();
    drag->setPixmap(strip_->grab(tile));
    drag->setHotSpot(QCursor::pos() - strip_->mapToGlobal(tile.topLeft()));
    // The drag runs its own event loop, in which this view may go with its dock. A drop on a
    // tile ends the store's drag; let go anywhere else, the placement overlay ends it once it
    // has seen the release, which it would miss were the drag ended here.
    drag->exec(Qt::MoveAction);
}

void DockView::dragAt(std::optional<QPointF> point) {
    if (!dragPayload_) return;
    const DragPayload payload = *dragPayload_;
    const std::optional<PinnedItem> over = point ? pinnedItemAt(*point) : std::nullopt;
    const std::optional<std::string> overID = over ? std::optional(over->id()) : std::nullopt;
    if (overID != dragTile_) {
        if (dragTile_) drops_.tileExited(payload);
        dragTile_ = overID;
        // A pinned tile entering another may reorder the dock, and the strip with it.
        if (over) drops_.tileEntered(*over, payload);
    }
    if (payload == DragPayload::files) drop_.setBarTargeted(point && !over);
}

void DockView::dragEnterEvent(QDragEnterEvent* event) {
    dragPayload_ = payloadOf(event->mimeData());
    if (!dragPayload_) return;
    dragTile_.reset();
    dragAt(event->position());
    // Entered, the drag keeps reporting its moves whatever the first point offers.
    event->accept();
}

void DockView::dragMoveEvent(QDragMoveEvent* event) {
    if (!dragPayload_) {
        event->ignore();
        return;
    }
    dragAt(event->position());
    if (const std::optional<PinnedItem> over = pinnedItemAt(event->position())) {
        propose(event, drops_.tileProposal(*over, *dragPayload_));
    } else if (*dragPayload_ == DragPayload::files) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void DockView::dragLeaveEvent(QDragLeaveEvent*) {
    dragAt(std::nullopt);
    dragPayload_.reset();
}

void DockView::dropEvent(QDropEvent* event) {
    if (!dragPayload_) {
        event->ignore();
        return;
    }
    const DragPayload payload = *dragPayload_;
    dragAt(event->position());
    const std::optional<PinnedItem> over = pinnedItemAt(event->position());
    // The drop ends the tile's hover itself.
    dragTile_.reset();
    dragPayload_.reset();
    if (payload == DragPayload::files) drop_.setBarTargeted(false);
    bool taken = false;
    if (over) {
        const DropOperation operation = drops_.tileProposal(*over, payload);
        taken = drops_.tileDropped(*over, payload, localFiles(event->mimeData()));
        if (taken) propose(event, operation);
    } else if (payload == DragPayload::files) {
        taken = drops_.barDropped(localFiles(event->mimeData()));
        if (taken) event->acceptProposedAction();
    }
    if (!taken) event->ignore();
}

}  // namespace quillbern
