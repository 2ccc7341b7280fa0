#pragma once

#include <cstdint>
#include <optional>

#include "core/platform/InputState.h"

namespace quillbern {

// The one table between our stored key codes and X keycodes (evdev code + 8), by
// physical position: Command is Super, Option is Alt.
std::optional<std::uint8_t> xKeycodeForKey(KeyCode key);
std::optional<KeyCode> keyForXKeycode(std::uint8_t keycode);

}  // namespace quillbern
