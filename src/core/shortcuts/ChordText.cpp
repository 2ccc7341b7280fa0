#include "core/shortcuts/ChordText.h"

#include <array>
#include <utility>

#include "core/foundation/Localization.h"

namespace quillbern {

namespace {

// Keys in the desktop's own words where its language has them ("Eingabe", "Strg"), translated
// when shown; the function keys read the same everywhere.
constexpr std::array<std::pair<KeyCode, TextInContext>, 14> kNamedKeys{{
    // TRANSLATORS: the names of keys and modifiers in a shortcut ("Ctrl+Super+Space"), as the
    // language's desktops print them in menus and keyboard settings.
    {49, trcNoop("keyboard key", "Space")},
    {36, trcNoop("keyboard key", "Enter")},
    {48, trcNoop("keyboard key", "Tab")},
    {51, trcNoop("keyboard key", "Backspace")},
    {53, trcNoop("keyboard key", "Escape")},
    {123, trcNoop("keyboard key", "Left")},
    {124, trcNoop("keyboard key", "Right")},
    {126, trcNoop("keyboard key", "Up")},
    {125, trcNoop("keyboard key", "Down")},
    {115, trcNoop("keyboard key", "Home")},
    {119, trcNoop("keyboard key", "End")},
    {116, trcNoop("keyboard key", "Page Up")},
    {121, trcNoop("keyboard key", "Page Down")},
    {117, trcNoop("keyboard key", "Delete")},
}};
constexpr std::array<std::pair<KeyCode, const char*>, 12> kFunctionKeys{{
    {122, "F1"},
    {120, "F2"},
    {99, "F3"},
    {118, "F4"},
    {96, "F5"},
    {97, "F6"},
    {98, "F7"},
    {100, "F8"},
    {101, "F9"},
    {109, "F10"},
    {103, "F11"},
    {111, "F12"},
}};

// Shown in this order, each followed by "+": Command is the Super key.
constexpr std::array<std::pair<std::uint32_t, TextInContext>, 4> kModifierNames{{
    {HotKeyChord::kControl, trcNoop("keyboard key", "Ctrl")},
    {HotKeyChord::kOption, trcNoop("keyboard key", "Alt")},
    {HotKeyChord::kShift, trcNoop("keyboard key", "Shift")},
    {HotKeyChord::kCommand, trcNoop("keyboard key", "Super")},
}};

}  // namespace

ChordText::ChordText(const KeyboardLayout& layout, const TextServices& text) : layout_(layout), text_(text) {}

std::string ChordText::display(const HotKeyChord& chord) const {
    std::string out;
    for (const auto& [mask, name] : kModifierNames) {
        if (chord.modifiers & mask) out += tr(name) + "+";
    }
    return out + keyLabel(chord.keyCode);
}

std::string ChordText::keyLabel(KeyCode keyCode) const {
    for (const auto& [code, name] : kNamedKeys) {
        if (code == keyCode) return tr(name);
    }
    for (const auto& [code, name] : kFunctionKeys) {
        if (code == keyCode) return name;
    }
    const KeyTranslation typed = layout_.translate(keyCode);
    if (typed.status == KeyTranslation::Status::noLayout) return "?";
    const std::optional<std::string> shown =
        typed.status == KeyTranslation::Status::ok ? text_.uppercasedFirstCharacter(typed.text) : std::nullopt;
    // TRANSLATORS: a key that types nothing that shows, by its number.
    return shown ? *shown : trf("key %lld", keyCode);
}

}  // namespace quillbern
