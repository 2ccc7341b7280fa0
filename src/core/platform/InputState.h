#pragma once

#include <cstdint>

#include "core/foundation/Geometry.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"

namespace quillbern {

using MouseButtons = std::uint32_t;
inline constexpr MouseButtons kLeftButton = 1;
inline constexpr MouseButtons kRightButton = 2;
inline constexpr MouseButtons kOtherButton = 4;

// Stored positional key codes (A 0, Return 36, Command 55, ...).
using KeyCode = std::uint32_t;

// Pointer, buttons and keys as they are right now, whichever application has them.
// Any thread, but for onPointerMotion.
class InputState {
public:
    virtual ~InputState() = default;

    // May answer from a copy kept from motion events, one reading behind a pointer that just
    // jumped; cheap enough to read at every motion.
    virtual PointBL pointer() const = 0;
    // Where the pointer is now, for a one-off choice such as the monitor a window opens on at
    // the user's request or the place of a hover preview: asks the system and waits, so it
    // never follows a copy behind.
    virtual PointBL pointerNow() const { return pointer(); }
    virtual MouseButtons pressedButtons() const = 0;
    // Presses of the left, right and other buttons since some start, wrapping at 2^32;
    // the wheel does not count. Only differences between two readings mean anything.
    virtual std::uint32_t pressCount() const = 0;
    // Keys by physical position: Command is the Super key.
    virtual bool isKeyDown(KeyCode key) const = 0;
    // A pop-up menu of another application is open.
    virtual bool isMenuOpen() const = 0;
    // [main] Runs after the pointer moved, over any application's window; a burst of moves
    // may come as one call. An empty subscription means the system does not tell, and the
    // pointer must be polled.
    [[nodiscard]] virtual Subscription onPointerMotion(Task handler) = 0;
};

}  // namespace quillbern
