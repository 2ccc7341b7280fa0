#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/platform/KeyboardLayout.h"
#include "core/platform/TextServices.h"
#include "core/settings/LiveChords.h"
#include "core/settings/SettingsControlLooks.h"
#include "core/shortcuts/ChordText.h"
#include "core/shortcuts/ProfileHotKeys.h"

namespace quillbern {

// The global-shortcuts card of General: the switch for every global shortcut, a recorder
// for each feature, the checks a recorded chord passes, the resets, and the last automation
// URL that failed. It keeps no setting: chords go to the stores, and what the system
// registered is read back into `live` when the card appears, after each recording or reset,
// and once the registration has followed a change of the switch, of auto-hide or of the
// docks' order. Main thread.
class ShortcutsCardModel {
public:
    struct Inputs {
        [[no_unique_address]] FilledByName<Inputs> byName{};
        PinnedStore& pinned;
        DockPreferences& preferences;
        RunLoop& mainLoop;
        // Registers the global shortcuts anew from the settings.
        std::function<void()> onHotkeysToggled;
        // The chords the system accepted at the last registration.
        std::function<RegisteredChords()> registeredChords;
        const KeyboardLayout& keyboardLayout;
        const TextServices& text;
    };

    explicit ShortcutsCardModel(Inputs inputs);
    ~ShortcutsCardModel();
    ShortcutsCardModel(const ShortcutsCardModel&) = delete;
    ShortcutsCardModel& operator=(const ShortcutsCardModel&) = delete;

    // Anything the card shows may have changed.
    Signal<> changed;

    bool hotkeysEnabled() const;
    // Stores the switch, then registers the shortcuts anew.
    void setHotkeysEnabled(bool on);

    // The features in their order; peek only while docks hide themselves.
    std::vector<HotKeyAction> shownActions() const;
    // The user's chord for the feature, else its built-in one.
    HotKeyChord effectiveChord(const HotKeyAction& feature) const;
    bool isCustom(const HotKeyAction& feature) const;
    // Registered with the chord it shows, as last read.
    bool isLive(const HotKeyAction& feature) const;
    // The legend of struck-through chords, for those the note does not already speak of.
    bool showsStruckThroughCaption() const;
    const std::optional<SettingsNote>& note() const { return note_; }
    const ChordText& chordText() const { return chordText_; }

    // The card came on screen.
    void appeared();
    void record(const HotKeyAction& feature, const HotKeyChord& chord);
    // A key without Ctrl, Super or Alt, or one that cannot be part of a chord: only the note
    // changes.
    void weakKey();
    void unusableKey(const std::string& keyName);
    // The feature's built-in chord again.
    void reset(const HotKeyAction& feature);

    // The recorded overrides and the docks' own chords that a reset of everything puts back.
    int recordedCount() const;
    bool offersResetAll() const { return recordedCount() > 0; }
    void resetAll();

    const std::optional<std::string>& automationFailure() const;
    void dismissAutomationFailure();

private:
    struct Watched {
        bool hotkeysEnabled = false;
        bool autoHide = false;
        std::vector<Uuid> dockIDs;
        bool operator==(const Watched&) const = default;
    };
    Watched watched() const;
    void storesChanged();
    // The note, and the feature whose chord it says could not be registered.
    void setNote(std::optional<SettingsNote> note, std::optional<HotKeyAction> unregistered = std::nullopt);

    PinnedStore& pinned_;
    DockPreferences& preferences_;
    std::function<void()> onHotkeysToggled_;
    ChordText chordText_;
    LiveChords live_;
    std::optional<SettingsNote> note_;
    std::optional<HotKeyAction> unregisteredNoted_;
    Watched watched_;
    Subscription liveChanged_;
    Subscription preferencesChanged_;
    Subscription profilesChanged_;
};

}  // namespace quillbern
