#include "core/settings/ShortcutRecording.h"

#include "core/foundation/Localization.h"
#include "core/model/DockName.h"
#include "core/shortcuts/HotKeyBindings.h"
#include "core/shortcuts/HotKeyProbe.h"

namespace quillbern {

ShortcutRecording::Outcome ShortcutRecording::check(const HotKeyAction& action, const HotKeyChord& chord,
                                                    const PinnedStore& pinned, const DockPreferences& preferences,
                                                    const ChordText& chordText) {
    const auto claimed =
        HotKeyBindings::claimedMap(pinned.profiles(), preferences.hotkeyOverrides(), action, preferences.autoHide());
    const std::string shown = chordText.display(chord);
    if (!chord.hasEnoughModifiers()) {
        return {false,
                SettingsNote{trf("%@ needs at least two modifier keys — a single one would take that key away from "
                                 "every application.",
                                 shown),
                             SettingsNoteStyle::error}};
    }
    if (const auto owner = claimed.find(chord); owner != claimed.end()) {
        return {false, SettingsNote{trf("%@ is already Quillbern's “%@”.", shown, nameInText(owner->second)),
                                    SettingsNoteStyle::error}};
    }
    const auto& wellKnown = HotKeyProbe::wellKnown();
    if (const auto known = wellKnown.find(chord); known != wellKnown.end()) {
        return {true, SettingsNote{trf("%@ is “%@” on many Linux desktops. Quillbern has taken it over where the "
                                       "desktop lets it — press the reset arrow to give it back.",
                                       shown, tr(known->second)),
                                   SettingsNoteStyle::warning}};
    }
    return {true, std::nullopt};
}

SettingsNote ShortcutRecording::weakKeyNote() {
    // TRANSLATORS: write the key names as the "keyboard key" texts do.
    return {tr("A shortcut needs at least two modifier keys — Ctrl, Alt, Shift or Super — so it cannot swallow an "
               "ordinary keystroke."),
            SettingsNoteStyle::error};
}

SettingsNote ShortcutRecording::unusableKeyNote(const std::string& keyName) {
    return {keyName.empty() ? tr("This key can't be part of a shortcut — hold the modifiers with another key.")
                            : trf("%@ can't be part of a shortcut — hold the modifiers with another key.", keyName),
            SettingsNoteStyle::error};
}

SettingsNote ShortcutRecording::unregisteredNote(const HotKeyChord& chord, const ChordText& chordText) {
    return {trf("%@ is held by another application or by the desktop, so Quillbern could not register it — record "
                "another combination, or press the reset arrow to go back to the default.",
                chordText.display(chord)),
            SettingsNoteStyle::error};
}

std::string ShortcutRecording::struckThroughDescription(const std::string& shownChord) {
    return trf("%@, which could not be registered", shownChord);
}

}  // namespace quillbern
