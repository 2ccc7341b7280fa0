#pragma once

#include <array>
#include <optional>

#include "core/platform/EventMonitors.h"

namespace quillbern {

// Positional key codes the palettes act on.
inline constexpr KeyCode kReturnKey = 36;
inline constexpr KeyCode kEnterKey = 76;
inline constexpr KeyCode kTabKey = 48;
inline constexpr KeyCode kBackspaceKey = 51;
inline constexpr KeyCode kDownKey = 125;
inline constexpr KeyCode kUpKey = 126;

// The digit-row keys 1 to 9, then 0, by position whatever the layout prints on them.
inline constexpr std::array<KeyCode, 10> kPaletteDigitKeys{18, 19, 20, 21, 23, 22, 26, 28, 25, 29};

// 0 for the key 1 up to 9 for the key 0; none for any other key.
inline std::optional<int> paletteDigit(KeyCode key) {
    for (std::size_t i = 0; i < kPaletteDigitKeys.size(); ++i) {
        if (kPaletteDigitKeys[i] == key) return int(i);
    }
    return std::nullopt;
}

// The modifiers of a press that count for key equivalents: the keypad and function flags
// and the low device bits are left out.
inline constexpr EventFlags kEquivalentModifierMask = 0xFF5F0000;

}  // namespace quillbern
