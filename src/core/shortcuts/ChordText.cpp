#include "core/shortcuts/ChordText.h"

#include <array>
#include <utility>

namespace quillbern {

namespace {

constexpr std::array<std::pair<KeyCode, const char*>, 26> kNamedKeys{{
    {49, "Space"},   {36, "\u21A9"},  {48, "\u21E5"},  {51, "\u232B"},  {53, "\u238B"},  {123, "\u2190"},
    {124, "\u2192"}, {126, "\u2191"}, {125, "\u2193"}, {115, "\u2196"}, {119, "\u2198"}, {116, "\u21DE"},
    {121, "\u21DF"}, {117, "\u2326"}, {122, "F1"},     {120, "F2"},     {99, "F3"},      {118, "F4"},
    {96, "F5"},      {97, "F6"},      {98, "F7"},      {100, "F8"},     {101, "F9"},     {109, "F10"},
    {103, "F11"},    {111, "F12"},
}};

}  // namespace

ChordText::ChordText(const KeyboardLayout& layout, const TextServices& text) : layout_(layout), text_(text) {}

std::string ChordText::display(const HotKeyChord& chord) const {
    std::string out;
    if (chord.modifiers & HotKeyChord::kControl) out += "\u2303";
    if (chord.modifiers & HotKeyChord::kOption) out += "\u2325";
    if (chord.modifiers & HotKeyChord::kShift) out += "\u21E7";
    if (chord.modifiers & HotKeyChord::kCommand) out += "\u2318";
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
