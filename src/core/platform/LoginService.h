#pragma once

#include "core/foundation/Result.h"

namespace quillbern {

enum class LoginStatus {
    // Nothing opens the program at login.
    notRegistered,
    // The program opens at login.
    enabled,
    // Registered, but the user has yet to approve it where the system asks.
    requiresApproval,
    // Registered, but what it would start is not there (the program moved or was removed):
    // nothing opens at login until it is registered again.
    notFound,
};

// Whether the system opens the program when the user logs in. Main thread.
class LoginService {
public:
    virtual ~LoginService() = default;

    virtual LoginStatus status() const = 0;
    virtual Result<void> registerApp() = 0;
    virtual Result<void> unregisterApp() = 0;
};

}  // namespace quillbern
