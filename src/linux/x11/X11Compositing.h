#pragma once

#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"

namespace quillbern {

class X11Connection;

// Whether a compositing manager runs on our X screen, so translucent windows are blended:
// one owns the _NET_WM_CM_S<screen> selection. Its owner is followed through XFixes
// selection notices as compositors start and stop; nothing is asked of the server after
// the first look. Main thread.
class X11Compositing {
public:
    explicit X11Compositing(X11Connection& connection);
    X11Compositing(const X11Compositing&) = delete;
    X11Compositing& operator=(const X11Compositing&) = delete;

    bool isRunning() const { return running_; }
    // Told when a compositing manager starts or stops.
    [[nodiscard]] Subscription onChanged(Task task);

private:
    X11Connection& connection_;
    bool running_ = false;
    Signal<> changed_;
    Subscription events_;
};

}  // namespace quillbern
