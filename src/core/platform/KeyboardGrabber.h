#pragma once

#include <memory>

namespace quillbern {

// The whole keyboard held for a window of ours; destroying it lets go.
class KeyboardGrab {
public:
    virtual ~KeyboardGrab() = default;
};

// Holding the whole keyboard for a moment, so every key reaches the window of ours that has
// the keyboard, chords other applications and the window manager grab for themselves too.
// Main thread.
class KeyboardGrabber {
public:
    virtual ~KeyboardGrabber() = default;

    // [main] Holds the keyboard for the window of ours that has it, until the grab is
    // destroyed. Null when none of ours has it or another application holds the keyboard.
    virtual std::unique_ptr<KeyboardGrab> grabKeyboard() = 0;
};

}  // namespace quillbern
