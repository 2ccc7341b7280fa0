#pragma once

#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"

namespace quillbern {

enum class SessionEvent { willSleep, didWake, screenLocked, screenUnlocked, desktopChanged };

// Sleep, wake, screen lock and desktop switches of the user's session.
class SessionEvents {
public:
    virtual ~SessionEvents() = default;

    [[nodiscard]] virtual Subscription on(SessionEvent event, Task task) = 0;  // [main]
};

}  // namespace quillbern
