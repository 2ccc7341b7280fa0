#pragma once

#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "linux/freedesktop/CompositorPresence.h"

namespace quillbern {

class X11Connection;

// Whether a compositing manager runs on our X screen, so translucent windows are blended:
// one owns the _NET_WM_CM_S<screen> selection. Its owner is followed through XFixes
// selection notices as compositors start and stop; nothing is asked of the server after
// the first look. Main thread.
class X11Compositing final : public CompositorPresence {
public:
    explicit X11Compositing(X11Connection& connection);
    X11Compositing(const X11Compositing&) = delete;
    X11Compositing& operator=(const X11Compositing&) = delete;

    bool isRunning() const override { return running_; }
    [[nodiscard]] Subscription onChanged(Task task) override;

private:
    X11Connection& connection_;
    bool running_ = false;
    Signal<> changed_;
    Subscription events_;
};

}  // namespace quillbern
