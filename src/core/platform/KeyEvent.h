#pragma once

#include <optional>

#include "core/platform/EventMonitors.h"

namespace quillbern {

// A key pressed in one of our own windows.
struct KeyEvent {
    // The key's position; none for a key our table does not know.
    std::optional<KeyCode> keyCode;
    EventFlags flags = 0;
    bool operator==(const KeyEvent&) const = default;
};

// The flags of a press in our own windows, where Command is Ctrl and Control is Super,
// from the modifier keys held.
EventFlags ownWindowFlags(bool shift, bool ctrl, bool alt, bool super);
// The flags of a press as global chords name them, where Command is Super and Control is
// Ctrl: what the shortcut recorder hears.
EventFlags globalChordFlags(bool shift, bool ctrl, bool alt, bool super);

}  // namespace quillbern
