#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/ScreenGeometry.h"
#include "core/platform/Screens.h"
#include "core/platform/Threads.h"
#include "linux/x11/Strut.h"

namespace quillbern {

// The displays as RandR monitors: the primary first, frames in screen space, the output
// as numeric id, the EDID (else the connector) as stable id, and visible frames less the
// struts on each monitor (of the clients, of every other mapped top-level window and of
// the windows two levels inside one, such as a window manager's own bar, which icewm keeps
// inside a frame of its own) and less the window manager's work area where that can
// be told to be one monitor's. A worker of its own follows the server's events on its own
// connection and reads what they changed, so the main thread never waits for the server;
// it gets each new layout and tells of it. Any thread; change listeners on the main thread.
class X11Screens final : public Screens {
public:
    // Bursts of RandR and property events of one change come within a few milliseconds.
    static constexpr Duration kCoalesceDelay = 0.05;
    static constexpr const char* kThreadName = "quillbern.disp";

    // Reads the layout once, waiting for it; then follows the changes on the worker.
    X11Screens(RunLoop& mainLoop, Threads& threads);
    // Stops first.
    ~X11Screens() override;

    std::vector<ScreenInfo> screens() const override;
    // The screen holding most of the active window, as last read on the worker.
    std::optional<ScreenInfo> mainScreen() const override;
    Subscription onChanged(Task task) override;
    // Where the primary stands in root coordinates, for converting to and from them.
    DesktopSpace desktopSpace() const;
    // Main thread. Ends the worker, waiting for it within WorkerStop's limit: one stuck on the
    // server is left behind with the follower its tasks share, and with the main loop it
    // posts to, which the owner must keep. The layout stays as last read.
    void stop();

private:
    struct Layout {
        std::vector<ScreenInfo> screens;
        DesktopSpace space;
        bool operator==(const Layout&) const = default;
    };
    // The monitors in root coordinates, primary first, with all but their frames.
    struct Monitors {
        std::vector<RectTL> rects;
        std::vector<ScreenInfo> screens;
        Size root;
    };
    // What keeps windows off the edges.
    struct Reservations {
        std::vector<Strut> struts;
        std::optional<RectTL> workArea;
    };

    // The worker's half.
    class Follower;

    static Layout layoutOf(const Monitors& monitors, const Reservations& reservations);
    // On the main thread.
    void apply(Layout fresh);

    RunLoop& loop_;
    Threads& threads_;
    mutable std::mutex mutex_;
    Layout layout_;
    // Shared with the worker's tasks, which may outlive this.
    std::shared_ptr<Follower> follower_;
    std::unique_ptr<WorkerLoop> worker_;
    // Main thread only.
    Signal<> changed_;
    Lifetime lifetime_;
};

}  // namespace quillbern
