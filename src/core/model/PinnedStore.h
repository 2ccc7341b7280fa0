#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Uuid.h"
#include "core/model/DisplayAssignment.h"
#include "core/model/DockAlignment.h"
#include "core/model/DockEdge.h"
#include "core/model/HotKeyChord.h"
#include "core/model/Profile.h"
#include "core/model/RevealMode.h"
#include "core/platform/Alerts.h"
#include "core/platform/AppCatalog.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Icons.h"
#include "core/platform/Launcher.h"
#include "core/platform/RunningApps.h"
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

// Owns every dock, and the live picture of the applications around them: which run, which
// application owns each process, which a dock has just launched, and the order in which
// they were last activated. Construction loads, repairs and saves the stored docks and
// starts watching the running applications; every change is saved at once. Main thread
// only.
//
// A layout change (which docks exist, where they stand, whether they show) ends any drag
// first (dragSessionChanged, then onDragSessionChange), then calls onLayoutChange, then
// onBindingsChange. profilesChanged fires on the change itself, before its save and
// callbacks.
class PinnedStore {
public:
    // A launch still counts as starting this long unless the application is seen running.
    static constexpr Duration kLaunchExpiry = 8.0;
    // After a launch reports back, the wait before focus is checked.
    static constexpr Duration kActivationCheckDelay = 0.5;
    static constexpr std::size_t kMaxActivationOrder = 64;

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        Defaults& defaults;
        const Clock& clock;
        RunLoop& mainLoop;
        UuidSource& uuids;
        const TextServices& text;
        Alerts& alerts;
        RunningApps& apps;
        AppCatalog& catalog;
        Launcher& launcher;
        const FileSystem& files;
        const Icons& icons;
    };

    explicit PinnedStore(Ports ports);
    PinnedStore(const PinnedStore&) = delete;
    PinnedStore& operator=(const PinnedStore&) = delete;

    // Every dock in the user's order; never empty, never more than ten.
    const std::vector<Profile>& profiles() const { return profiles_; }
    const std::optional<DragSession>& dragSession() const { return dragSession_; }
    const std::optional<UndoableRemoval>& undoableRemoval() const { return undoableRemoval_; }
    // Stored docks were unreadable at some load and were replaced; shown until acknowledged.
    bool recoveredFromUnreadableData() const { return recoveredFromUnreadableData_; }

    // Identities of every running application that has one.
    const std::set<AppId>& runningBundleIDs() const { return runningBundleIDs_; }
    // For each running process: the outermost application that contains it, else its own.
    const std::map<Pid, AppId>& ownerBundleIDByPID() const { return ownerBundleIDByPID_; }
    // Applications a dock launched that are not yet seen running.
    const std::set<AppId>& launchingBundleIDs() const { return launchingBundleIDs_; }
    // Most recently activated first, without duplicates, at most 64.
    const std::vector<AppId>& activationOrder() const { return activationOrder_; }

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
    // On a real change of the running applications, their owners or the regular ones.
    Signal<> runningChanged;
    // At every refresh of the running applications, and when a launch starts or ends.
    Signal<> launchingChanged;
    Signal<> activationOrderChanged;
    // What the icons answer may have changed (Icons::onChanged): the applications' icons are asked again.
    Signal<> iconsChanged;

    // Set once by whoever wires the store; each may stay unset.
    std::function<void()> onLayoutChange;
    // What a dock shows changed, not where it stands.
    std::function<void()> onContentChange;
    // Dock shortcuts or their order may have changed.
    std::function<void()> onBindingsChange;
    // After every assignment of the drag session.
    std::function<void()> onDragSessionChange;

    // Lookup. The pointer is good until the docks next change; null when no dock has the id.
    const Profile* findProfile(const Uuid& id) const;
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
    // Made one line and trimmed of horizontal white space. False, changing nothing, for a name
    // refused: empty once trimmed, or not valid UTF-8.
    bool renameProfile(const Uuid& id, std::string_view name);
    // The dock takes the target's place: after it when moving down, before it when moving up.
    void moveProfile(const Uuid& id, const Uuid& targetID);

    // Removes the dock, or resets the only one; either can be undone until the next save.
    void deleteOrResetProfile(const Uuid& id);
    void undoLastRemoval();
    // Forgets the last removal without putting anything back.
    void dismissUndoableRemoval();

    // The docks that are visible and switched on, in list order.
    std::vector<Profile> visibleProfiles() const;
    // Anywhere in the dock, older nested folders included.
    bool isPinned(std::string_view bundleID, const Uuid& profileID) const;
    // Among the dock's top-level locations.
    bool hasLocation(std::string_view path, const Uuid& profileID) const;
    bool hasTrash(const Uuid& profileID) const;

    // Item edits save and call onContentChange only; none changes the layout. Names and
    // paths that are not valid UTF-8 are refused.
    // Appended to the folder when one of the dock has that identifier, else at the end.
    void pin(const std::string& bundleID, const std::string& name, const std::optional<std::string>& fallbackPath,
             const Uuid& profileID, const std::optional<Uuid>& folderID = std::nullopt);
    // The application installed at the path, under the name it shows.
    void pinApp(const Path& appPath, const Uuid& profileID, const std::optional<Uuid>& folderID = std::nullopt);
    // A folder; nothing for a path the dock already shows or that is no folder.
    void pinLocation(const Path& path, const Uuid& profileID);
    void pinTrash(const Uuid& profileID);
    // Each removal can be undone until the next change, and ends a drag of that item.
    void unpin(const std::string& bundleID, const Uuid& profileID);
    void unpinTrash(const Uuid& trashID, const Uuid& profileID);
    void unpinLocation(const Uuid& locationID, const Uuid& profileID);
    // Accepted only for the item being dragged, in its own dock.
    void move(const std::string& itemID, const std::string& targetID, const Uuid& profileID);
    // A pinned folder moved on disk. Refused when another location of the dock already
    // shows the new path, since the next load would drop one of the two.
    void relocateLocation(const Uuid& locationID, const Path& newPath, const Uuid& profileID);

    // The processes owned by the application; empty when none runs.
    std::set<Pid> pids(std::string_view bundleID) const;
    bool hasRegularProcess(std::string_view bundleID) const;
    std::optional<RunningApp> runningApp(Pid pid) const;
    // Brings the application forward when it runs; otherwise starts it and marks it as
    // launching until it is seen running, its launch fails, or 8 s pass. Beeps when the
    // application cannot be found.
    void launchOrActivate(const std::string& bundleID, const std::optional<std::string>& fallbackPath);
    // Where the application is installed, or where its fallback path still finds it.
    std::optional<Path> appPath(const std::string& bundleID, const std::optional<std::string>& fallbackPath);
    // The application's icon: the one its entry names, else the picture a window of one
    // of its processes carries, else the generic one. Kept until the running applications
    // or the icons change; null when the application cannot be found.
    ImageHandle icon(const PinnedApp& app);
    // A running process's icon: its own application's, else its window's picture, else
    // the generic one. One icon for as long as the process runs as the same application
    // and the icons stay; the generic one only until the running applications change.
    ImageHandle icon(const RunningApp& app);
    // Opens dropped files with a pinned application; nothing when it cannot be found.
    void open(const std::vector<Path>& files, const PinnedApp& app);

private:
    using ItemEdit = std::function<bool(std::vector<PinnedItem>&)>;
    // The one way an item edit reaches a dock: edits a copy of its items and, when the edit
    // changed them, stores, records the undo snapshot when labelled, saves and calls
    // onContentChange.
    void mutateItems(const Uuid& profileID, const std::optional<std::string>& undoLabel, const ItemEdit& edit);
    void removeItem(const std::string& itemID, const Uuid& profileID, const std::string& undoLabel,
                    const ItemEdit& edit);

    void watchRunningApps();
    void refreshRunning();
    void invalidateAppLookups();
    void noteActivation(const RunningApp& app);
    void launchCompleted(const std::string& bundleID, std::uint64_t generation,
                         const std::optional<AppId>& previousFrontmost, bool failed);
    void setLaunching(std::set<AppId> launching);

    void load();
    // Answers whether the docks read leave out or change anything stored.
    bool loadStored(const Json& stored);
    // The applications of the oldest stored form, when it is there and readable.
    std::optional<std::vector<PinnedItem>> legacyApps() const;
    // Ends the undo of the last removal unless the change being saved made or used it.
    void save(bool keepUndo = false);
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
    RunLoop& mainLoop_;
    UuidSource& uuids_;
    const TextServices& text_;
    Alerts& alerts_;
    RunningApps& apps_;
    AppCatalog& catalog_;
    Launcher& launcher_;
    const FileSystem& files_;
    const Icons& iconSource_;

    std::vector<Profile> profiles_;
    std::optional<DragSession> dragSession_;
    std::optional<UndoableRemoval> undoableRemoval_;
    bool recoveredFromUnreadableData_ = false;

    std::set<AppId> runningBundleIDs_;
    std::map<Pid, AppId> ownerBundleIDByPID_;
    // Processes of ordinary applications, those with a dock presence.
    std::set<Pid> regularPIDs_;
    // Path of a running application to its outermost owner; a cached none is an answer.
    std::map<Path, std::optional<AppId>> outermostCache_;
    std::set<AppId> launchingBundleIDs_;
    // Launch attempts per application, so only the latest one's expiry and failure count.
    std::map<AppId, std::uint64_t> launchGeneration_;
    std::vector<AppId> activationOrder_;
    // Found locations only; forgotten whenever the running applications change.
    std::map<AppId, Path> resolvedPaths_;
    std::map<AppId, ImageHandle> icons_;
    struct RunningIcon {
        // The entry it was made for.
        std::optional<Path> appPath;
        ImageHandle image;
        // Its entry's or its window's picture, not the generic stand-in.
        bool isOwn = false;
    };
    std::map<Pid, RunningIcon> runningIcons_;
    std::vector<Subscription> appWatches_;
    Lifetime lifetime_;
};

}  // namespace quillbern
