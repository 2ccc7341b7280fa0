#pragma once

#include <optional>
#include <unordered_map>

#include "core/foundation/Geometry.h"
#include "core/platform/WindowAccess.h"
#include "core/platform/WindowList.h"

namespace quillbern {

// Bounds every call into another application, so a hung one cannot stall the worker for long.
inline constexpr Duration kMessagingTimeout = 0.25;

// Reads with one failure rule: an error, a missing value or a value of another type all
// give no value.
std::optional<bool> axBool(WindowAccess& access, ElementRef element, Attribute attribute);
std::optional<ElementRef> axElement(WindowAccess& access, ElementRef element, Attribute attribute);
// Position and size together; either one missing gives no frame.
std::optional<RectTL> axFrame(WindowAccess& access, ElementRef element);

// The warning, once per run, that windows cannot be told apart at all. The one worker of
// the process owns it, so once per worker is once per run.
class MissingWindowIdWarning {
public:
    void write();

private:
    bool written_ = false;
};

// The window's number, never 0. Only a system that cannot tell numbers at all writes the
// warning; an ordinary failure or the number 0 gives none silently.
std::optional<WindowId> cgWindowID(WindowAccess& access, ElementRef window, MissingWindowIdWarning& warning);

using OnScreenBounds = std::unordered_map<WindowId, RectTL>;

// Bounds of the on-screen windows of layer 0 by number; empty when the list is unreadable.
// Any thread.
OnScreenBounds cgOnScreenBounds(const WindowList& list);

}  // namespace quillbern
