#pragma once

#include <functional>
#include <optional>

#include "core/foundation/RunLoop.h"
#include "core/platform/Processes.h"

namespace quillbern {

// What the user allowed this program to do with other applications.
class Permissions {
public:
    virtual ~Permissions() = default;

    // May we read and change other applications' windows? Any thread.
    virtual bool isWindowAccessTrusted() const = 0;
    // [main] Runs when that answer may have changed. An empty subscription where the
    // system does not tell, and the trust must be polled.
    [[nodiscard]] virtual Subscription onTrustChange(Task handler) = 0;
    // Shows the system's prompt where one exists; answers the trust afterwards.
    virtual bool requestWindowAccess() = 0;
    // The command that forgets a stale grant, so the prompt can grant afresh; only for a
    // properly signed release that the session started. Absent on Linux.
    virtual std::optional<CommandLine> staleEntryResetCommand() const = 0;

    // May we take pictures of other applications' windows?
    virtual bool isCaptureAllowed() const = 0;
    // Asks the user where the system can; answers whether access is granted.
    virtual void requestCaptureAccess(std::function<void(bool)> done) = 0;  // [any]
};

}  // namespace quillbern
