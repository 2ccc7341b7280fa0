#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/CancelToken.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/foundation/Uuid.h"
#include "core/model/DockPreferences.h"
#include "core/model/InstalledAppsScanner.h"
#include "core/model/PinnedStore.h"
#include "core/platform/AppCatalog.h"
#include "core/platform/Screens.h"
#include "core/platform/Threads.h"
#include "core/settings/LiveChords.h"
#include "core/settings/SettingsControlLooks.h"
#include "core/shortcuts/ChordText.h"
#include "core/shortcuts/ProfileHotKeys.h"
#include "core/shortcuts/ShortcutRecorder.h"

namespace quillbern {

// One entry of the display pop-up: "all", or a display's stable identifier.
struct DisplayEntry {
    std::string tag;
    std::string title;
    bool operator==(const DisplayEntry&) const = default;
};

// One segment of a picker: its symbol and its help, which also names it.
struct PickerSegment {
    std::string symbol;
    std::string help;
    bool operator==(const PickerSegment&) const = default;
};

// The editor of one dock: its header, the placement card with the dock's own shortcut and
// the display list, and what the cards below share (the installed applications, scanned
// in the background each time the pane shows). Every edit goes straight to the store; this
// holds only the shown dock, the last registered chords read, the shortcut's note and the
// scan's result. Main thread.
class ProfileDetailModel {
public:
    static constexpr std::string_view kAllDisplaysTag = "all";

    struct Inputs {
        [[no_unique_address]] FilledByName<Inputs> byName{};
        PinnedStore& pinned;
        DockPreferences& preferences;
        std::function<RegisteredChords()> registeredChords;
        const ChordText& chordText;
        Screens& screens;
        RunLoop& mainLoop;
        Threads& threads;
        // Shared with the scans, which may end after the model.
        std::shared_ptr<const InstalledAppsScanner> installedApps;
    };

    ProfileDetailModel(Inputs inputs, const Uuid& profileID);
    ~ProfileDetailModel();
    ProfileDetailModel(const ProfileDetailModel&) = delete;
    ProfileDetailModel& operator=(const ProfileDetailModel&) = delete;

    // After any change of what the pane shows.
    Signal<> changed;

    const Uuid& profileID() const { return profileID_; }
    // Another dock shows: a note on a name goes, the shortcut's note shows only with its own
    // dock, and the installed applications are read again while the pane is on screen.
    void setProfileID(const Uuid& id);
    // None once the dock is gone: the pane then shows nothing.
    const Profile* profile() const { return pinned_.findProfile(profileID_); }

    // The name field commits to the dock it was typed for, which may no longer be the one shown.
    // A refused name leaves a note under the field, until a name is taken or another dock shows.
    void rename(const Uuid& dock, const std::string& name);
    const std::optional<SettingsNote>& nameNote() const { return nameNote_; }
    // Empty for a dock that is gone.
    std::string nameOf(const Uuid& dock) const;
    // Each changes the dock shown, and nothing once it is gone.
    void setEnabled(bool on);
    void setEdge(DockEdge edge);
    void setAlignment(DockAlignment alignment);
    void setShowsWindows(bool on);
    void setRevealMode(RevealMode mode);

    // The pane came on screen: the registered chords are read and the scan starts.
    void appeared();
    // The pane left the screen: a scan under way is dropped when it answers.
    void disappeared();

    // The dock's nominal shortcut: its own, else Ctrl+Super and the digit of its place.
    std::optional<HotKeyChord> resolvedChord() const;
    bool hotkeysEnabled() const { return preferences_.hotkeysEnabled(); }
    // The header's badge; none while the shortcuts are off or the dock has none.
    std::optional<std::string> badge() const;
    ShortcutRecorder::Row recorderRow() const;
    void record(const HotKeyChord& chord);
    void weakKey();
    void unusableKey(const std::string& keyName);
    void resetChord();
    // What the last recording, reset or refused key of the dock shown said; none while another
    // dock's note is kept.
    std::optional<SettingsNote> chordNote() const;

    // The pop-up's entries: every display, then a disconnected assigned one.
    std::vector<DisplayEntry> displayEntries() const;
    std::string selectedDisplayTag() const;
    // A choice of the user: "all", or a connected display; the disconnected one changes nothing.
    void chooseDisplay(const std::string& tag);
    std::int64_t screenTick() const { return screenTick_; }

    const std::vector<InstalledApp>& installed() const { return installed_; }
    bool hasScanned() const { return hasScanned_; }

    static std::vector<PickerSegment> edgeSegments();
    static std::vector<PickerSegment> positionSegments(DockEdge edge);
    std::string enableHelp() const;
    std::string revealCaption() const;
    // The dock's name inside each control's accessible name.
    std::string enableName() const;
    std::string edgeName() const;
    std::string positionName() const;
    std::string displayName() const;
    std::string revealName() const;
    // The link that toggles the dock from outside.
    std::string automationURL() const;

private:
    // The connected displays, one entry per stable identifier.
    std::vector<DisplayEntry> connectedDisplays() const;
    void storesChanged();
    void startScan();
    std::string nameOf() const;
    void setChordNote(std::optional<SettingsNote> note);

    PinnedStore& pinned_;
    DockPreferences& preferences_;
    const ChordText& chordText_;
    Screens& screens_;
    RunLoop& mainLoop_;
    Threads& threads_;
    std::shared_ptr<const InstalledAppsScanner> installedApps_;
    Uuid profileID_;
    LiveChords live_;
    // A note speaks of one dock's chord.
    struct ChordNote {
        Uuid dock;
        SettingsNote note;
    };
    std::optional<ChordNote> chordNote_;
    std::optional<SettingsNote> nameNote_;
    std::vector<InstalledApp> installed_;
    bool hasScanned_ = false;
    bool onScreen_ = false;
    std::int64_t screenTick_ = 0;
    // What a change of the stores is checked against for reading the registration again.
    std::vector<Uuid> dockIDs_;
    bool hotkeysEnabled_ = false;
    CancelToken scanToken_;
    std::vector<Subscription> subscriptions_;
    Lifetime lifetime_;
};

}  // namespace quillbern
