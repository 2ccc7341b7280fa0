#pragma once

#include <cstdint>

#include "core/model/JsonReader.h"
#include "core/model/JsonWriter.h"

namespace quillbern {

// A global shortcut: a virtual key code and a modifier mask (⌘ 0x0100, ⇧ 0x0200,
// ⌥ 0x0800, ⌃ 0x1000).
struct HotKeyChord {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;

    bool operator==(const HotKeyChord&) const = default;

    void write(JsonWriter& writer) const;
    // Both members are required and must be unsigned 32-bit numbers.
    static HotKeyChord read(const JsonReader& reader);
};

}  // namespace quillbern
