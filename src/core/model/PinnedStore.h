#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Uuid.h"
#include "core/model/DisplayAssignment.h"
#include "core/model/DockAlignment.h"
#include "core/model/DockEdge.h"
#include "core/model/HotKeyChord.h"
#include "core/model/Profile.h"
#include "core/model/RevealMode.h"
#include "core/platform/Alerts.h"
#include "core/platform/TextServices.h"

namespace quillbern {

// The pinned item being dragged inside a dock, by its stable identifier, and that dock.
struct DragSession {
    std::string itemID;
    Uuid profileID;
};

// The whole dock list as it stood before the last removal or reset, and the title of the
// command that brings it back.
struct UndoableRemoval {
    std::string label;
    std::vector<Profile> profiles;
};

// Owns every dock. Construction loads, repairs and saves the stored docks; every change
// is saved at once. Main thread only.
//
// A layout change (which docks exist, where they stand, whether they show) ends any drag
// first (dragSessionChanged, then onDragSessionChange), then calls onLayoutChange, then
// onBindingsChange. profilesChanged fires on the change itself, before its save and
// callbacks.
class PinnedStore {
public:
    PinnedStore(Defaults& defaults, const Clock& clock, UuidSource& uuids, const TextServices& text, Alerts& alerts);
    PinnedStore(const PinnedStore&) = delete;
    PinnedStore& operator=(const PinnedStore&) = delete;

    // Every dock in the user's order; never empty, never more than ten.
    const std::vector<Profile>& profiles() const { return profiles_; }
    const std::optional<DragSession>& dragSession() const { return dragSession_; }
    const std::optional<UndoableRemoval>& undoableRemoval() const { return undoableRemoval_; }
    // Stored docks were unreadable at some load and were replaced; shown until acknowledged.
    bool recoveredFromUnreadableData() const { return recoveredFromUnreadableData_; }

    // Set and cleared by the dock tiles and the dock editor.
    void setDragSession(std::optional<DragSession> session);
    void acknowledgeRecovery();

    // On a real change, and on every edit of one dock.
    Signal<> profilesChanged;
    // On every assignment, an unchanged one too.
    Signal<> dragSessionChanged;
    Signal<> undoableRemovalChanged;
    // On a real change.
    Signal<> recoveredFromUnreadableDataChanged;

    // Set once by whoever wires the store; each may stay unset.
    std::function<void()> onLayoutChange;
    // What a dock shows changed, not where it stands.
    std::function<void()> onContentChange;
    // Dock shortcuts or their order may have changed.
    std::function<void()> onBindingsChange;
    // After every assignment of the drag session.
    std::function<void()> onDragSessionChange;

    // Lookup.
    std::optional<Profile> profile(const Uuid& id) const;
    // An automation argument: a UUID (no dock when none has it), else a 1-based position,
    // else a name compared without case.
    std::optional<Profile> resolveProfile(std::string_view text) const;

    // Showing or switching on a dock hides the later of two others on its slot.
    // False for an unknown dock and for showing a switched-off one.
    bool setVisible(const Uuid& id, bool visible);
    // Beeps for a switched-off dock.
    void toggleVisibility(const Uuid& id);
    void setEnabled(const Uuid& id, bool enabled);
    void setEdge(const Uuid& id, DockEdge edge);
    // Refused when a text is not valid UTF-8.
    void setDisplay(const Uuid& id, const DisplayAssignment& display);

    void setShowsWindows(const Uuid& id, bool shows);
    void setRevealMode(const Uuid& id, RevealMode mode);
    void setAlignment(const Uuid& id, DockAlignment alignment);
    // No check against other shortcuts; the caller makes it.
    void setChord(const Uuid& id, std::optional<HotKeyChord> chord);
    void clearAllChords();

    // None at the limit of ten docks, or for a name that is not valid UTF-8.
    std::optional<Uuid> addProfile(const std::string& name);
    // The first edge that no visible, switched-on dock on all displays takes.
    std::optional<DockEdge> firstFreeEdge() const;
    // "Dock 1", "Dock 2", ...: the first that no dock is named.
    std::string nextDefaultProfileName() const;
    // Trimmed of horizontal white space; nothing for an empty or invalid name.
    void renameProfile(const Uuid& id, std::string_view name);
    // The dock takes the target's place: after it when moving down, before it when moving up.
    void moveProfile(const Uuid& id, const Uuid& targetID);

    // Removes the dock, or resets the only one; either can be undone until the next save.
    void deleteOrResetProfile(const Uuid& id);
    void undoLastRemoval();

private:
    void load();
    void loadStored(const Json& stored);
    // The applications of the oldest stored form, when it is there and readable.
    std::optional<std::vector<PinnedItem>> legacyApps() const;
    void save();
    void notifyLayoutChanged();
    static void call(const std::function<void()>& callback);
    // Saves and announces a change that created or consumed the undo snapshot.
    void saveUndoableChange();

    Profile* find(const Uuid& id);
    Profile defaultDock(std::vector<PinnedItem> items);
    void assignProfiles(std::vector<Profile> profiles);
    void setUndoableRemoval(std::optional<UndoableRemoval> removal);
    void setRecoveredFromUnreadableData(bool recovered);
    // After an edit of the docks: tells observers and saves.
    void commitChange();
    // After an edit of where a dock stands or whether it shows: when the dock now stands,
    // hides the later of two others on its slot; then commits and announces the layout.
    void commitPlacement(const Profile& changed);

    Defaults& defaults_;
    const Clock& clock_;
    UuidSource& uuids_;
    const TextServices& text_;
    Alerts& alerts_;

    std::vector<Profile> profiles_;
    std::optional<DragSession> dragSession_;
    std::optional<UndoableRemoval> undoableRemoval_;
    // Set while a removal or its undo saves, so that this one save keeps the snapshot.
    bool isWritingUndoableChange_ = false;
    bool recoveredFromUnreadableData_ = false;
};

}  // namespace quillbern
