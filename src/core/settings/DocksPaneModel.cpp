#include "core/settings/DocksPaneModel.h"

#include <algorithm>
#include <ranges>
#include <set>
#include <utility>

#include "core/foundation/Localization.h"
#include "core/model/DockName.h"
#include "core/model/ProfileRepair.h"
#include "core/settings/ShortcutRecording.h"
#include "core/shortcuts/HotKeyBindings.h"

namespace quillbern {

namespace {

DockDot dotOf(const Profile& dock) {
    if (!dock.isEnabled) return DockDot::disabled;
    return dock.isVisible ? DockDot::shown : DockDot::hidden;
}

std::string dotTooltip(DockDot dot) {
    switch (dot) {
        case DockDot::shown:
            return tr("This dock is shown");
        case DockDot::hidden:
            return tr("This dock is hidden");
        case DockDot::disabled:
            return tr("This dock is disabled");
    }
    return {};
}

}  // namespace

DocksPaneModel::DocksPaneModel(Inputs inputs)
    : pinned_(inputs.pinned),
      preferences_(inputs.preferences),
      chordText_(inputs.chordText),
      live_(std::move(inputs.registeredChords), inputs.mainLoop),
      supportEmail_(std::move(inputs.supportEmail)),
      ids_(dockIDs(pinned_.profiles())) {
    const auto tell = [this] { changed.emit(); };
    subscriptions_.push_back(live_.changed.connect(tell));
    subscriptions_.push_back(pinned_.profilesChanged.connect([this] { docksChanged(); }));
    subscriptions_.push_back(pinned_.dragSessionChanged.connect(tell));
    subscriptions_.push_back(pinned_.undoableRemovalChanged.connect(tell));
    subscriptions_.push_back(pinned_.recoveredFromUnreadableDataChanged.connect(tell));
    subscriptions_.push_back(preferences_.changed.connect([this] {
        // The switch, the overrides and auto-hide decide what is registered.
        live_.readSoon();
        changed.emit();
    }));
}

void DocksPaneModel::docksChanged() {
    // A chord, the order or the docks themselves may register differently.
    live_.readSoon();
    // Only a selected dock that left the list moves the selection: a reorder, an addition
    // or an edit keeps it.
    std::vector<Uuid> ids = dockIDs(pinned_.profiles());
    if (ids != ids_) {
        ids_ = std::move(ids);
        if (selectedID_ && std::ranges::find(ids_, *selectedID_) == ids_.end()) {
            selectedID_ = ids_.empty() ? std::nullopt : std::optional<Uuid>(ids_.front());
        }
    }
    changed.emit();
}

void DocksPaneModel::appeared() {
    live_.readNow();
    if (selectedID_ || pinned_.profiles().empty()) return;
    selectedID_ = pinned_.profiles().front().id;
    changed.emit();
}

void DocksPaneModel::select(const Uuid& id) {
    if (selectedID_ == id) return;
    selectedID_ = id;
    changed.emit();
}

std::optional<Uuid> DocksPaneModel::detailDock() const {
    if (!selectedID_ || !pinned_.findProfile(*selectedID_)) return std::nullopt;
    return selectedID_;
}

std::map<Uuid, HotKeyChord> DocksPaneModel::resolvedChords() const {
    std::map<Uuid, HotKeyChord> chords;
    for (const HotKeyBinding& binding :
         HotKeyBindings::resolve(pinned_.profiles(), preferences_.hotkeyOverrides(), /*autoHide=*/true)) {
        if (binding.action.kind() == HotKeyAction::Kind::profile) chords[binding.action.profileID()] = binding.chord;
    }
    return chords;
}

std::vector<DockRowData> DocksPaneModel::rows() const {
    // With the global shortcuts off no row shows a badge, and none is worked out.
    const std::map<Uuid, HotKeyChord> chords =
        preferences_.hotkeysEnabled() ? resolvedChords() : std::map<Uuid, HotKeyChord>{};
    std::vector<DockRowData> rows;
    rows.reserve(pinned_.profiles().size());
    for (const Profile& dock : pinned_.profiles())
        rows.push_back(rowOf(dock, chords));
    return rows;
}

DockRowData DocksPaneModel::rowOf(const Profile& dock, const std::map<Uuid, HotKeyChord>& chords) const {
    DockRowData row;
    row.id = dock.id;
    row.name = dock.name;
    if (const auto chord = chords.find(dock.id); chord != chords.end()) {
        row.chord = chordText_.display(chord->second);
        row.chordKey = chordText_.keyLabel(chord->second.keyCode).value_or("?");
        row.chordUnregistered = !live_.holds(HotKeyAction::profile(dock.id), chord->second);
        row.chordTooltip = row.chordUnregistered ? ShortcutRecording::struckThroughDescription(*row.chord) : *row.chord;
    }
    row.dot = dotOf(dock);
    row.dotTooltip = dotTooltip(row.dot);
    row.description = row.chord ? trf("%@, shortcut %@", row.dotTooltip, row.chordTooltip) : row.dotTooltip;
    row.edgeSymbol = std::string(dockEdgeSymbol(dock.edge));
    row.isSelected = selectedID_ == dock.id;
    const std::optional<DragSession>& session = pinned_.dragSession();
    row.isDragged = session && session->itemID == dragToken(dock.id);
    const std::string name = nameInText(dock.name);
    row.removeTitle = isLast() ? trf("Empty “%@”…", name) : trf("Delete “%@”…", name);
    return row;
}

bool DocksPaneModel::canAdd() const {
    return pinned_.profiles().size() < kMaxProfiles;
}

bool DocksPaneModel::add() {
    const std::optional<Uuid> added = pinned_.addProfile(pinned_.nextDefaultProfileName());
    if (!added) return false;
    select(*added);
    return true;
}

std::string DocksPaneModel::removeHelp() const {
    return isLast() ? tr("Empty the last dock") : tr("Delete the selected dock");
}

void DocksPaneModel::askToRemoveSelected() {
    if (selectedID_) askToRemove(*selectedID_);
}

void DocksPaneModel::askToRemove(const Uuid& id) {
    std::optional<Profile> dock = pinned_.profile(id);
    if (!dock) return;
    pendingRemoval_ = std::move(dock);
    changed.emit();
}

std::string DocksPaneModel::removalTitle() const {
    const std::string name = pendingRemoval_ ? nameInText(pendingRemoval_->name) : std::string();
    return isLast() ? trf("Empty “%@”?", name) : trf("Delete “%@”?", name);
}

std::string DocksPaneModel::removalButton() const {
    const long long count = pendingRemoval_ ? static_cast<long long>(pendingRemoval_->items.size()) : 0;
    // Without items the question names none.
    if (count == 0) return isLast() ? tr("Empty this dock") : tr("Delete the dock");
    return isLast() ? trn("Empty this dock and remove its %lld pinned item",
                          "Empty this dock and remove its %lld pinned items", count, count)
                    : trn("Delete the dock and its %lld pinned item", "Delete the dock and its %lld pinned items",
                          count, count);
}

void DocksPaneModel::confirmRemoval() {
    // Cleared first: the store's change redraws the pane, which must find no confirmation.
    const std::optional<Profile> dock = std::exchange(pendingRemoval_, std::nullopt);
    if (dock) pinned_.deleteOrResetProfile(dock->id);
    changed.emit();
}

void DocksPaneModel::cancelRemoval() {
    if (!pendingRemoval_) return;
    pendingRemoval_.reset();
    changed.emit();
}

std::string DocksPaneModel::recoveryText() const {
    if (supportEmail_.empty())
        return tr(
            "Quillbern couldn't read your saved docks and started over with an empty one. Nothing was thrown "
            "away — the previous version is still stored.");
    return trf(
        // TRANSLATORS: %@ is an e-mail address.
        "Quillbern couldn't read your saved docks and started over with an empty one. Nothing was thrown "
        "away — the previous version is still stored. Write to %@ and it can be brought back.",
        supportEmail_);
}

void DocksPaneModel::dismissRecovery() {
    pinned_.acknowledgeRecovery();
}

std::optional<std::string> DocksPaneModel::undoLabel() const {
    const std::optional<UndoableRemoval>& removal = pinned_.undoableRemoval();
    if (!removal) return std::nullopt;
    return removal->label;
}

void DocksPaneModel::undoRemoval() {
    const std::optional<UndoableRemoval>& removal = pinned_.undoableRemoval();
    if (!removal) return;
    std::set<Uuid> restored;
    for (const Profile& dock : removal->profiles)
        restored.insert(dock.id);
    for (const Profile& dock : pinned_.profiles())
        restored.erase(dock.id);
    pinned_.undoLastRemoval();
    // A removal takes out at most one dock; an emptied last dock keeps its identifier.
    if (!restored.empty()) select(*restored.begin());
}

void DocksPaneModel::dismissUndo() {
    pinned_.dismissUndoableRemoval();
}

std::string DocksPaneModel::dragToken(const Uuid& id) {
    return std::string(kDragTokenPrefix) + id.text();
}

void DocksPaneModel::dragStarted(const Uuid& id) {
    pinned_.setDragSession(DragSession{dragToken(id), id});
}

std::optional<Uuid> DocksPaneModel::draggedDock(bool offersDockRow) const {
    if (!offersDockRow) return std::nullopt;
    const std::optional<DragSession>& session = pinned_.dragSession();
    if (!session || !session->itemID.starts_with(kDragTokenPrefix)) return std::nullopt;
    return Uuid::parse(std::string_view(session->itemID).substr(kDragTokenPrefix.size()));
}

void DocksPaneModel::dragEntered(const Uuid& target, bool offersDockRow) {
    if (const std::optional<Uuid> dragged = draggedDock(offersDockRow)) pinned_.moveProfile(*dragged, target);
}

bool DocksPaneModel::dropped(bool offersDockRow) {
    // The order changed while the row passed the others; the drop only ends the drag.
    const bool ours = draggedDock(offersDockRow).has_value();
    pinned_.setDragSession(std::nullopt);
    return ours;
}

std::string_view dockEdgeSymbol(DockEdge edge) {
    switch (edge) {
        case DockEdge::bottom:
            return "rectangle.bottomthird.inset.filled";
        case DockEdge::top:
            return "rectangle.topthird.inset.filled";
        case DockEdge::left:
            return "rectangle.leftthird.inset.filled";
        case DockEdge::right:
            return "rectangle.rightthird.inset.filled";
    }
    return {};
}

std::vector<Uuid> dockIDs(const std::vector<Profile>& docks) {
    std::vector<Uuid> ids;
    ids.reserve(docks.size());
    for (const Profile& dock : docks)
        ids.push_back(dock.id);
    return ids;
}

std::string alignmentLabel(DockAlignment alignment, DockEdge edge) {
    const bool vertical = edge == DockEdge::left || edge == DockEdge::right;
    switch (alignment) {
        case DockAlignment::leading:
            // TRANSLATORS: where a dock sits along its screen edge, chosen in Settings ("Position:
            // Left"); the edge itself is said by other texts.
            return vertical ? trc("dock position along its edge", "Top") : trc("dock position along its edge", "Left");
        case DockAlignment::center:
            return vertical ? trc("dock position along its edge", "Middle")
                            : trc("dock position along its edge", "Centred");
        case DockAlignment::trailing:
            return vertical ? trc("dock position along its edge", "Bottom")
                            : trc("dock position along its edge", "Right");
    }
    return {};
}

}  // namespace quillbern
