#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/foundation/Uuid.h"
#include "core/model/DockAlignment.h"
#include "core/model/DockEdge.h"
#include "core/model/DockPreferences.h"
#include "core/model/HotKeyChord.h"
#include "core/model/PinnedStore.h"
#include "core/settings/LiveChords.h"
#include "core/shortcuts/ChordText.h"

namespace quillbern {

// The status dot of a dock's row.
enum class DockDot { shown, hidden, disabled };

// One row of the dock list, as drawn.
struct DockRowData {
    Uuid id;
    // Verbatim, never translated.
    std::string name;
    // The shortcut's text; none for no badge.
    std::optional<std::string> chord;
    // Its key alone, which the row shows where the whole shortcut does not fit.
    std::string chordKey;
    // The system did not register it: shown struck through, and told so in its tooltip.
    bool chordUnregistered = false;
    std::string chordTooltip;
    DockDot dot = DockDot::shown;
    std::string dotTooltip;
    // For assistive tools: the dot's state and the whole shortcut, which the row may shorten.
    std::string description;
    std::string edgeSymbol;
    bool isSelected = false;
    // Its own drag is running: drawn faint.
    bool isDragged = false;
    // The context menu's removal, which empties the last dock instead.
    std::string removeTitle;

    bool operator==(const DockRowData&) const = default;
};

// The Docks pane's decisions: which dock is selected, the removal waiting for its
// confirmation, the rows, the bar, the two banners and the reordering drag of a row.
// Docks change only through the store; this holds nothing but the selection and the
// pending removal. Main thread.
class DocksPaneModel {
public:
    // The drag's item identifier is this and the dock's identifier text.
    static constexpr std::string_view kDragTokenPrefix = "profile:";
    static constexpr double kDraggedRowOpacity = 0.35;

    struct Inputs {
        [[no_unique_address]] FilledByName<Inputs> byName{};
        PinnedStore& pinned;
        DockPreferences& preferences;
        const ChordText& chordText;
        // The chords the system accepted at the last registration.
        std::function<RegisteredChords()> registeredChords;
        RunLoop& mainLoop;
        // May be empty: the recovery note then leaves out whom to write to.
        std::string supportEmail;
    };

    explicit DocksPaneModel(Inputs inputs);
    DocksPaneModel(const DocksPaneModel&) = delete;
    DocksPaneModel& operator=(const DocksPaneModel&) = delete;

    // After any change of what the pane shows: docks, selection, shortcuts, banners, drag,
    // the pending removal.
    Signal<> changed;

    // The pane came on screen: the first dock is selected unless one is, and the registered
    // chords are read.
    void appeared();
    const std::optional<Uuid>& selectedID() const { return selectedID_; }
    void select(const Uuid& id);
    // The dock the detail shows: the selected one while it exists.
    std::optional<Uuid> detailDock() const;

    std::vector<DockRowData> rows() const;
    // The shortcut each dock gets, the hold-to-peek one taken as bound.
    std::map<Uuid, HotKeyChord> resolvedChords() const;

    bool canAdd() const;
    // Adds a dock under the next free default name and selects it; false at the limit.
    bool add();
    bool canRemove() const { return selectedID_.has_value(); }
    std::string removeHelp() const;

    // Asks to remove the selected dock, or the given one: the confirmation shows while
    // a removal is pending. Nothing is pending for a dock that no longer exists.
    void askToRemoveSelected();
    void askToRemove(const Uuid& id);
    const std::optional<Profile>& pendingRemoval() const { return pendingRemoval_; }
    // The confirmation's texts, by the store's count as it is now.
    std::string removalTitle() const;
    std::string removalButton() const;
    void confirmRemoval();
    void cancelRemoval();

    // The recovery banner, while the stored docks were found unreadable.
    bool showsRecovery() const { return pinned_.recoveredFromUnreadableData(); }
    std::string recoveryText() const;
    void dismissRecovery();
    // The undo banner's button title, while a removal can be undone.
    std::optional<std::string> undoLabel() const;
    // Puts the removed back; a dock brought back is selected.
    void undoRemoval();
    void dismissUndo();

    // The dock-row drag. `offersDockRow`: the drag carries the dock-row type.
    static std::string dragToken(const Uuid& id);
    void dragStarted(const Uuid& id);
    // The dock being dragged, when this is a dock-row drag of ours.
    std::optional<Uuid> draggedDock(bool offersDockRow) const;
    // The pointer came onto a row: the dragged dock takes its place.
    void dragEntered(const Uuid& target, bool offersDockRow);
    // Whether a row takes the drop: a move, or the forbidden operation.
    bool acceptsDrop(bool offersDockRow) const { return draggedDock(offersDockRow).has_value(); }
    // Released over a row: ends the drag whatever it was; true when it was ours.
    bool dropped(bool offersDockRow);

private:
    void docksChanged();
    DockRowData rowOf(const Profile& dock, const std::map<Uuid, HotKeyChord>& chords) const;
    bool isLast() const { return pinned_.profiles().size() < 2; }

    PinnedStore& pinned_;
    DockPreferences& preferences_;
    const ChordText& chordText_;
    LiveChords live_;
    std::string supportEmail_;
    std::optional<Uuid> selectedID_;
    std::optional<Profile> pendingRemoval_;
    // The ordered identifiers the selection was last checked against.
    std::vector<Uuid> ids_;
    std::vector<Subscription> subscriptions_;
};

// The wording of a dock's place along its edge: "Left", "Centred", "Right" across a
// horizontal edge, "Top", "Middle", "Bottom" along a vertical one.
std::string alignmentLabel(DockAlignment alignment, DockEdge edge);
// The symbol of a dock's edge, in its row and on the edge picker.
std::string_view dockEdgeSymbol(DockEdge edge);
// The docks' identifiers in their order: what the panes compare to see the order change.
std::vector<Uuid> dockIDs(const std::vector<Profile>& docks);

}  // namespace quillbern
