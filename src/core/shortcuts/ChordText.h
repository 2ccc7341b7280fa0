#pragma once

#include <optional>
#include <string>

#include "core/model/HotKeyChord.h"
#include "core/platform/KeyboardLayout.h"
#include "core/platform/TextServices.h"

namespace quillbern {

// How chords are shown, as Linux desktops write them: the modifiers Ctrl, Alt, Shift and
// Super, always in that order and each followed by "+", then the key's label under the
// keyboard layout in force at the call ("Ctrl+Super+A", "Shift+Super+3",
// "Ctrl+Alt+Shift+Super+Space"), the names in the interface language's words where its
// desktops have their own ("Strg+Super+Leertaste"). Every place that shows a chord shows
// this text; only the chord is stored.
class ChordText {
public:
    ChordText(const KeyboardLayout& layout, const TextServices& text);

    // A key without a label, which a stored chord may hold, shows as "?".
    std::string display(const HotKeyChord& chord) const;
    // Keys that type nothing useful have fixed names (Space, Enter, F1, Keypad 7, Num Lock,
    // ...); others show what they type, in upper case, and "?" when no layout can be read.
    // None for a key that types nothing that shows.
    std::optional<std::string> keyLabel(KeyCode keyCode) const;

    // A chord of keys with fixed names ("Ctrl+Enter", "Backspace") for a text that tells which
    // keys to press: written as display() writes it, with no layout to read.
    static std::string ofNamedKeys(const HotKeyChord& chord);

private:
    const KeyboardLayout& layout_;
    const TextServices& text_;
};

}  // namespace quillbern
