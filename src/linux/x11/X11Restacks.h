#pragma once

#include <cstdint>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"

namespace quillbern {

class X11Connection;

// Tells when the window manager restacks the windows it manages (one is raised, shown or
// made full screen): its stacking list on the root changes. Our unmanaged panels, which
// it does not stack, then take their places again. Main thread.
class X11Restacks {
public:
    explicit X11Restacks(X11Connection& connection);
    X11Restacks(const X11Restacks&) = delete;
    X11Restacks& operator=(const X11Restacks&) = delete;

    [[nodiscard]] Subscription onRestack(Task task) { return restacked_.connect(std::move(task)); }

private:
    X11Connection& connection_;
    std::uint32_t stackingAtom_;
    Signal<> restacked_;
    Subscription events_;
};

}  // namespace quillbern
