#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/platform/InputState.h"

namespace quillbern {

// A press or a release of a grabbed chord, named by the id its grab was given.
struct HotKeyEvent {
    bool pressed = true;
    std::uint32_t id = 0;
    bool operator==(const HotKeyEvent&) const = default;
};

// One chord held for us system-wide; destroying it gives the chord back.
class HotKeyGrab {
public:
    virtual ~HotKeyGrab() = default;
};

struct HotKeyRegistration {
    enum class Status : std::uint8_t {
        grabbed,
        taken,        // another application holds the chord
        unavailable,  // this keyboard has no such key or modifier
        unanswered,   // the system did not answer in time
    };
    Status status = Status::unavailable;
    // Present exactly when grabbed.
    std::unique_ptr<HotKeyGrab> grab;
};

// Global key chords: grabs that work whichever application is active. Chords use the
// stored vocabulary (key codes, masks with Command 0x0100, Shift 0x0200, Option 0x0800,
// Control 0x1000); Command is the Super key. Main thread.
class HotKeys {
public:
    virtual ~HotKeys() = default;

    // [main] Receives one press per physical press (never a key's auto-repeat) and its
    // release. Replaces any earlier handler; 0 means installed, else the system's error.
    virtual int setHandler(std::function<void(const HotKeyEvent&)> handler) = 0;
    virtual void clearHandler() = 0;
    virtual HotKeyRegistration grab(KeyCode keyCode, std::uint32_t modifiers, std::uint32_t id) = 0;
    // While suspended the grabbed chords reach the focused window, as when recording one.
    virtual void setSuspended(bool suspended) = 0;
};

}  // namespace quillbern
