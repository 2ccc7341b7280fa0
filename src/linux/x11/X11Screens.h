#pragma once

#include <mutex>
#include <vector>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/ScreenGeometry.h"
#include "core/platform/Screens.h"

namespace quillbern {

class X11Connection;

// The displays as RandR monitors: the primary first, frames in screen space, the output
// as numeric id, the EDID (else the connector) as stable id, and visible frames less the
// struts of the clients on each monitor.
class X11Screens final : public Screens {
public:
    X11Screens(X11Connection& connection, RunLoop& mainLoop);
    ~X11Screens() override;

    std::vector<ScreenInfo> screens() const override;
    Subscription onChanged(Task task) override;
    // Where the primary stands in root coordinates, for converting to and from them.
    DesktopSpace desktopSpace() const;

private:
    struct Layout {
        std::vector<ScreenInfo> screens;
        DesktopSpace space;
        bool operator==(const Layout&) const = default;
    };
    Layout read() const;
    void scheduleRefresh();
    void refresh();

    X11Connection& connection_;
    RunLoop& loop_;
    std::uint8_t randrFirstEvent_ = 0;
    mutable std::mutex mutex_;
    Layout layout_;
    Signal<> changed_;
    Timer pendingRefresh_;
    Subscription events_;
};

}  // namespace quillbern
