#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/platform/Alerts.h"
#include "core/platform/HotKeys.h"
#include "core/platform/KeyboardLayout.h"
#include "core/platform/TextServices.h"
#include "core/shortcuts/ChordText.h"
#include "core/shortcuts/HotKeyTargets.h"
#include "core/shortcuts/ProfileHotKeys.h"

namespace quillbern {

// Keeps the global shortcuts in step with the docks and the settings, and acts on their
// presses: a dock shortcut shows, hides or holds out its dock, the feature shortcuts
// toggle palettes, focus mode and the workspace, and the peek shortcut reveals every
// hidden dock for as long as it is held. Main thread.
class HotKeyDispatch {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        HotKeys& hotKeys;
        const KeyboardLayout& layout;
        const TextServices& text;
        Alerts& alerts;
    };

    HotKeyDispatch(Ports ports, PinnedStore& pinned, const DockPreferences& preferences);
    ~HotKeyDispatch();
    HotKeyDispatch(const HotKeyDispatch&) = delete;
    HotKeyDispatch& operator=(const HotKeyDispatch&) = delete;

    // Set by whoever creates the controllers, as they come.
    HotKeyTargets targets;

    // The live list for the current docks and settings.
    std::vector<HotKeyBinding> currentBindings() const;
    // Registers the live list while global shortcuts are on, and nothing while they are
    // off; an unchanged list leaves the system alone.
    void syncHotkeys();
    void performHotKey(const HotKeyAction& action, bool pressed);
    // A dock's shortcut or its menu row: beeps for a switched-off dock; holds the dock out
    // or lets it go while docks hide themselves, else shows or hides it.
    void toggleDockFromUserGesture(const Uuid& id);
    // Releases what is held and gives every chord back, for the end of the run.
    void shutdown();

    // The chords the system accepted; empty while global shortcuts are off.
    const RegisteredChords& registered() const;
    // Present exactly while global shortcuts are on.
    const ProfileHotKeys* registration() const { return registration_.get(); }
    const ChordText& chordText() const { return chordText_; }

private:
    // Logs each stored chord left unregistered for too few modifiers, once a run.
    void reportWithheld();

    Ports ports_;
    PinnedStore& pinned_;
    const DockPreferences& preferences_;
    ChordText chordText_;
    std::unique_ptr<ProfileHotKeys> registration_;
    std::vector<std::pair<HotKeyAction, HotKeyChord>> reported_;
    Lifetime lifetime_;
};

}  // namespace quillbern
