#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/platform/SessionEvents.h"

namespace quillbern {

class X11Connection;

// Desktop switches, from changes of _NET_CURRENT_DESKTOP on the root, whose new value is
// read without waiting for it. Sleep, wake and screen lock are not heard on X11 alone, so
// they never fire. Main thread.
class X11SessionEvents final : public SessionEvents {
public:
    explicit X11SessionEvents(X11Connection& connection);

    Subscription on(SessionEvent event, Task task) override;

private:
    // Reads the property; a switch is told once its value arrives.
    void readDesktop();

    X11Connection& connection_;
    std::uint32_t currentDesktopAtom_;
    std::optional<std::uint32_t> desktop_;
    std::map<SessionEvent, Signal<>> signals_;
    Subscription events_;
    Lifetime lifetime_;
};

}  // namespace quillbern
