#include "core/shortcuts/ChordText.h"

#include <array>
#include <utility>

#include "core/foundation/Localization.h"

namespace quillbern {

namespace {

// Keys in the desktop's own words where its language has them ("Eingabe", "Strg"), translated
// when shown; the function keys read the same everywhere.
constexpr std::array<std::pair<KeyCode, TextInContext>, 34> kNamedKeys{{
    // TRANSLATORS: the names of keys and modifiers in a shortcut ("Ctrl+Super+Space"), as the
    // language's desktops print them in menus and keyboard settings.
    {49, trcNoop("keyboard key", "Space")},      {36, trcNoop("keyboard key", "Enter")},
    {48, trcNoop("keyboard key", "Tab")},        {51, trcNoop("keyboard key", "Backspace")},
    {53, trcNoop("keyboard key", "Escape")},     {123, trcNoop("keyboard key", "Left")},
    {124, trcNoop("keyboard key", "Right")},     {126, trcNoop("keyboard key", "Up")},
    {125, trcNoop("keyboard key", "Down")},      {115, trcNoop("keyboard key", "Home")},
    {119, trcNoop("keyboard key", "End")},       {116, trcNoop("keyboard key", "Page Up")},
    {121, trcNoop("keyboard key", "Page Down")}, {117, trcNoop("keyboard key", "Delete")},
    {114, trcNoop("keyboard key", "Insert")},    {57, trcNoop("keyboard key", "Caps Lock")},
    {71, trcNoop("keyboard key", "Num Lock")},   {82, trcNoop("keyboard key", "Keypad 0")},
    {83, trcNoop("keyboard key", "Keypad 1")},   {84, trcNoop("keyboard key", "Keypad 2")},
    {85, trcNoop("keyboard key", "Keypad 3")},   {86, trcNoop("keyboard key", "Keypad 4")},
    {87, trcNoop("keyboard key", "Keypad 5")},   {88, trcNoop("keyboard key", "Keypad 6")},
    {89, trcNoop("keyboard key", "Keypad 7")},   {91, trcNoop("keyboard key", "Keypad 8")},
    {92, trcNoop("keyboard key", "Keypad 9")},   {65, trcNoop("keyboard key", "Keypad .")},
    {67, trcNoop("keyboard key", "Keypad *")},   {69, trcNoop("keyboard key", "Keypad +")},
    {75, trcNoop("keyboard key", "Keypad /")},   {78, trcNoop("keyboard key", "Keypad -")},
    {81, trcNoop("keyboard key", "Keypad =")},   {76, trcNoop("keyboard key", "Keypad Enter")},
}};
constexpr std::array<std::pair<KeyCode, const char*>, 20> kFunctionKeys{{
    {122, "F1"},  {120, "F2"},  {99, "F3"},   {118, "F4"},  {96, "F5"},   {97, "F6"},   {98, "F7"},
    {100, "F8"},  {101, "F9"},  {109, "F10"}, {103, "F11"}, {111, "F12"}, {105, "F13"}, {107, "F14"},
    {113, "F15"}, {106, "F16"}, {64, "F17"},  {79, "F18"},  {80, "F19"},  {90, "F20"},
}};

// Shown in this order, each followed by "+": Command is the Super key.
constexpr std::array<std::pair<std::uint32_t, TextInContext>, 4> kModifierNames{{
    {HotKeyChord::kControl, trcNoop("keyboard key", "Ctrl")},
    {HotKeyChord::kOption, trcNoop("keyboard key", "Alt")},
    {HotKeyChord::kShift, trcNoop("keyboard key", "Shift")},
    {HotKeyChord::kCommand, trcNoop("keyboard key", "Super")},
}};

std::string modifiersText(std::uint32_t modifiers) {
    std::string out;
    for (const auto& [mask, name] : kModifierNames) {
        if (modifiers & mask) out += tr(name) + "+";
    }
    return out;
}

}  // namespace

ChordText::ChordText(const KeyboardLayout& layout, const TextServices& text) : layout_(layout), text_(text) {}

std::string ChordText::display(const HotKeyChord& chord) const {
    return withKeyNamed(chord.modifiers, keyLabel(chord.keyCode).value_or("?"));
}

std::string ChordText::ofNamedKeys(const HotKeyChord& chord) {
    return withKeyNamed(chord.modifiers, fixedKeyName(chord.keyCode).value_or("?"));
}

std::string ChordText::withKeyNamed(std::uint32_t modifiers, std::string_view keyName) {
    return modifiersText(modifiers) + std::string(keyName);
}

std::optional<std::string> ChordText::fixedKeyName(KeyCode keyCode) {
    for (const auto& [code, name] : kNamedKeys) {
        if (code == keyCode) return tr(name);
    }
    for (const auto& [code, name] : kFunctionKeys) {
        if (code == keyCode) return name;
    }
    return std::nullopt;
}

std::optional<std::string> ChordText::keyLabel(KeyCode keyCode) const {
    if (std::optional<std::string> fixed = fixedKeyName(keyCode)) return fixed;
    const KeyTranslation typed = layout_.translate(keyCode);
    if (typed.status == KeyTranslation::Status::noLayout) return "?";
    if (typed.status != KeyTranslation::Status::ok) return std::nullopt;
    return text_.uppercasedFirstCharacter(typed.text);
}

}  // namespace quillbern
