#pragma once

#include <optional>
#include <string>

#include "core/model/DockPreferences.h"
#include "core/model/HotKeyAction.h"
#include "core/model/HotKeyChord.h"
#include "core/model/PinnedStore.h"
#include "core/settings/SettingsControlLooks.h"
#include "core/shortcuts/ChordText.h"

namespace quillbern {

// The checks a chord recorded for one action passes before it is stored, the same for a
// feature's shortcut (General) and a dock's own (Docks): at least two modifiers, and no
// other live binding of ours holding it; a chord a Linux desktop keeps for itself is taken
// with a warning. The caller stores an accepted chord where that action keeps it, registers
// the shortcuts anew, then shows the note, or the unregistered note where the system did not
// take the chord.
class ShortcutRecording {
public:
    ShortcutRecording() = delete;

    struct Outcome {
        // Store the chord for the action; otherwise nothing changes.
        bool accepted = false;
        // The note under the recorder; none clears the one shown.
        std::optional<SettingsNote> note;
        bool operator==(const Outcome&) const = default;
    };

    static Outcome check(const HotKeyAction& action, const HotKeyChord& chord, const PinnedStore& pinned,
                         const DockPreferences& preferences, const ChordText& chordText);
    // For a key pressed without Ctrl, Super or Alt, which records nothing.
    static SettingsNote weakKeyNote();
    // For a key that cannot be part of a chord, by what the keyboard calls it (may be empty).
    static SettingsNote unusableKeyNote(const std::string& keyName);
    // For an accepted chord the system did not register: another application or the desktop
    // holds it, so it does nothing, whatever the check said of it.
    static SettingsNote unregisteredNote(const HotKeyChord& chord, const ChordText& chordText);
    // What a chord shown struck through, since it could not be registered, is told as, for
    // assistive tools and in tooltips.
    static std::string struckThroughDescription(const std::string& shownChord);
};

}  // namespace quillbern
