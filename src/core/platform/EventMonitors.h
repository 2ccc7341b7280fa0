#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/foundation/Geometry.h"
#include "core/foundation/Subscription.h"
#include "core/platform/InputState.h"

namespace quillbern {

// Modifier flags of an event: Shift 0x20000, Control 0x40000, Option 0x80000, Command 0x100000.
using EventFlags = std::uint32_t;
inline constexpr EventFlags kShiftFlag = 0x20000;
inline constexpr EventFlags kControlFlag = 0x40000;
inline constexpr EventFlags kOptionFlag = 0x80000;
inline constexpr EventFlags kCommandFlag = 0x100000;

struct MouseDown {
    PointBL location;         // screen space
    MouseButtons button = 0;  // one of kLeftButton, kRightButton, kOtherButton
    EventFlags flags = 0;
    std::optional<std::uint64_t> ownPanel;  // serial of our panel that was clicked
    bool operator==(const MouseDown&) const = default;
};

struct KeyTapEvent {
    enum class Kind {
        keyDown,
        // The system stopped the tap because its handler was slow; it may be enabled again.
        disabledByTimeout,
        // The system stopped the tap for the user's sake; it stays stopped.
        disabledByUser,
    };
    Kind kind = Kind::keyDown;
    KeyCode keyCode = 0;  // key-down only
    bool operator==(const KeyTapEvent&) const = default;
};

// A listen-only stream of key presses in every application; destroying it ends the stream.
class KeyTap {
public:
    virtual ~KeyTap() = default;
    virtual void setEnabled(bool enabled) = 0;
};

// Streams of mouse presses and key presses. Monitors only watch: the press still reaches its window.
class EventMonitors {
public:
    virtual ~EventMonitors() = default;

    // [any] Presses of the given buttons in other applications' windows. An empty
    // subscription means the system refused the monitor.
    [[nodiscard]] virtual Subscription onGlobalMouseDown(MouseButtons buttons,
                                                         std::function<void(const MouseDown&)> handler) = 0;
    // [main] Presses of the given buttons in our own windows.
    [[nodiscard]] virtual Subscription onLocalMouseDown(MouseButtons buttons,
                                                        std::function<void(const MouseDown&)> handler) = 0;
    // [main] Key presses, whichever application has the keyboard; events come on the main
    // run loop. Null when the system refuses the tap.
    [[nodiscard]] virtual std::unique_ptr<KeyTap> tapKeyDown(std::function<void(const KeyTapEvent&)> handler) = 0;
};

}  // namespace quillbern
