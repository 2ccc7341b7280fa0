#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/InputState.h"

namespace quillbern {

// What one key types under the current keyboard layout.
struct KeyTranslation {
    enum class Status : std::uint8_t {
        ok,
        noLayout,  // no keyboard layout can be read at all
        failed,    // this key has no position or types nothing
    };
    Status status = Status::failed;
    // UTF-8; what the key types without modifiers, a dead key giving its own character.
    std::string text;

    bool operator==(const KeyTranslation&) const = default;
};

// The keyboard layout in force right now; each call reads the current one, so callers
// follow a change of layout. Main thread.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;

    virtual KeyTranslation translate(KeyCode keyCode) const = 0;
    // The position of a key as the window system numbers it in key events (the X keycode);
    // none for a key outside our table.
    virtual std::optional<KeyCode> keyCodeForScanCode(std::uint32_t nativeScanCode) const = 0;
    // What the layout makes of the key at that scan code, pressed without modifiers, named in
    // the interface language's words as the catalogue's "keyboard key" texts name it ("Druck",
    // "Num Lock", "Play"), for keys outside our table too; empty for a key it has no such name
    // for.
    virtual std::string keyName(std::uint32_t nativeScanCode) const = 0;
};

}  // namespace quillbern
