#pragma once

#include <optional>
#include <string>
#include <string_view>

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
    // A chord whose key the caller names, written as display() writes it: a key of our own
    // windows named by what it types ("Ctrl+Q", "Ctrl+,").
    static std::string withKeyNamed(std::uint32_t modifiers, std::string_view keyName);
    // The name of a key that types nothing useful (Space, Enter, F1, Keypad 7, Num Lock, ...),
    // in the interface language's words; none for a key that is named by what it types.
    static std::optional<std::string> fixedKeyName(KeyCode keyCode);

private:
    const KeyboardLayout& layout_;
    const TextServices& text_;
};

}  // namespace quillbern
