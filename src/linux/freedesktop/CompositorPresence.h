#pragma once

#include "core/foundation/RunLoop.h"
#include "core/foundation/Subscription.h"

namespace quillbern {

// Whether a compositing manager blends translucent windows, and a notice when one starts
// or stops: what the desktop's appearance needs of the display server, which its backend
// (X11Compositing) answers. Main thread.
class CompositorPresence {
public:
    virtual ~CompositorPresence() = default;

    virtual bool isRunning() const = 0;
    [[nodiscard]] virtual Subscription onChanged(Task task) = 0;
};

}  // namespace quillbern
