#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "core/model/JsonReader.h"
#include "core/model/JsonWriter.h"
#include "core/platform/EventMonitors.h"

namespace quillbern {

// A global shortcut: a virtual key code and a modifier mask. Other bits may stand in a
// stored mask: they keep two chords apart but are neither shown nor counted.
struct HotKeyChord {
    static constexpr std::uint32_t kCommand = 0x0100;
    static constexpr std::uint32_t kShift = 0x0200;
    static constexpr std::uint32_t kOption = 0x0800;
    static constexpr std::uint32_t kControl = 0x1000;
    // Control-Command, the pair of every default shortcut.
    static constexpr std::uint32_t kControlCommand = kControl | kCommand;

    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;

    bool operator==(const HotKeyChord&) const = default;

    // How many of Command, Control, Option and Shift the chord holds.
    int modifierCount() const;
    // Whether the chord may be a global shortcut: with fewer than two modifiers it would take
    // an ordinary keystroke away from every application. Recorded and stored chords alike.
    bool hasEnoughModifiers() const { return modifierCount() >= 2; }

    // The chord a key press makes: none unless Command, Control or Option is held.
    static std::optional<HotKeyChord> fromKeyEvent(KeyCode keyCode, EventFlags flags);

    void write(JsonWriter& writer) const;
    // Both members are required and must be unsigned 32-bit numbers.
    static HotKeyChord read(const JsonReader& reader);
};

}  // namespace quillbern

template <>
struct std::hash<quillbern::HotKeyChord> {
    std::size_t operator()(const quillbern::HotKeyChord& chord) const noexcept {
        return std::hash<std::uint64_t>{}(std::uint64_t(chord.keyCode) << 32 | chord.modifiers);
    }
};
