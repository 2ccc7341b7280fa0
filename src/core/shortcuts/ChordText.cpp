#include "core/shortcuts/ChordText.h"

#include <array>
#include <utility>

namespace quillbern {

namespace {

constexpr std::array<std::pair<KeyCode, const char*>, 26> kNamedKeys{{
    {49, "Space"},      {36, "Enter"},   {48, "Tab"},   {51, "Backspace"}, {53, "Escape"}, {123, "Left"},
    {124, "Right"},     {126, "Up"},     {125, "Down"}, {115, "Home"},     {119, "End"},   {116, "Page Up"},
    {121, "Page Down"}, {117, "Delete"}, {122, "F1"},   {120, "F2"},       {99, "F3"},     {118, "F4"},
    {96, "F5"},         {97, "F6"},      {98, "F7"},    {100, "F8"},       {101, "F9"},    {109, "F10"},
    {103, "F11"},       {111, "F12"},
}};

// Shown in this order, each followed by "+": Command is the Super key.
constexpr std::array<std::pair<std::uint32_t, const char*>, 4> kModifierNames{{
    {HotKeyChord::kControl, "Ctrl"},
    {HotKeyChord::kOption, "Alt"},
    {HotKeyChord::kShift, "Shift"},
    {HotKeyChord::kCommand, "Super"},
}};

}  // namespace

ChordText::ChordText(const KeyboardLayout& layout, const TextServices& text) : layout_(layout), text_(text) {}

std::string ChordText::display(const HotKeyChord& chord) const {
    std::string out;
    for (const auto& [mask, name] : kModifierNames) {
        if (chord.modifiers & mask) out += std::string(name) + "+";
    }
    return out + keyLabel(chord.keyCode);
}

std::string ChordText::keyLabel(KeyCode keyCode) const {
    for (const auto& [code, label] : kNamedKeys) {
        if (code == keyCode) return label;
    }
    const KeyTranslation typed = layout_.translate(keyCode);
    if (typed.status == KeyTranslation::Status::noLayout) return "?";
    const std::optional<std::string> shown =
        typed.status == KeyTranslation::Status::ok ? text_.uppercasedFirstCharacter(typed.text) : std::nullopt;
    return shown ? *shown : "key " + std::to_string(keyCode);
}

}  // namespace quillbern
