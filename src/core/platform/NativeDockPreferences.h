#pragma once

#include <optional>
#include <string_view>

#include "core/foundation/Json.h"
#include "core/platform/Processes.h"

namespace quillbern {

// The auto-hide settings of the desktop's own dock, by the names the core uses:
// "autohide" (a Boolean), "autohide-delay" (seconds before it shows) and
// "autohide-time-modifier" (how long it takes to slide). Writes are read back at once and
// reach the dock on synchronize(). Main thread.
class NativeDockPreferences {
public:
    virtual ~NativeDockPreferences() = default;

    // False where this desktop has no dock whose settings we know.
    virtual bool isSupported() const = 0;
    // Absent: the user never set the key, and the dock's own default applies.
    virtual std::optional<Json> value(std::string_view key) const = 0;
    // Absent removes the user's value.
    virtual void setValue(std::string_view key, std::optional<Json> value) = 0;
    // Hands the written values to the dock; false when the desktop refused them.
    virtual bool synchronize() = 0;
    // Makes the dock take its new settings; blocks at most timeLimit.
    virtual ProcessResult restartDock(Duration timeLimit) = 0;
};

}  // namespace quillbern
