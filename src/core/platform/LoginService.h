#pragma once

#include "core/foundation/Result.h"

namespace quillbern {

enum class LoginStatus { notRegistered, enabled, requiresApproval, notFound };

// Whether the system opens the program when the user logs in. Main thread.
class LoginService {
public:
    virtual ~LoginService() = default;

    virtual LoginStatus status() const = 0;
    virtual Result<void> registerApp() = 0;
    virtual Result<void> unregisterApp() = 0;
};

}  // namespace quillbern
