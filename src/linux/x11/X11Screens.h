#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>
#include <xcb/xcb.h>

#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/ScreenGeometry.h"
#include "core/platform/Screens.h"
#include "core/platform/Threads.h"
#include "linux/x11/Strut.h"

namespace quillbern {

class XcbConnection;

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
    ~X11Screens() override;

    std::vector<ScreenInfo> screens() const override;
    // The screen holding most of the active window, as last read on the worker.
    std::optional<ScreenInfo> mainScreen() const override;
    Subscription onChanged(Task task) override;
    // Where the primary stands in root coordinates, for converting to and from them.
    DesktopSpace desktopSpace() const;

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

    // On the worker (and in the constructor, before it starts).
    Monitors readMonitors() const;
    // In root coordinates.
    std::optional<RectTL> readActiveFrame() const;
    // Also starts watching the mapped top-level windows' struts.
    Reservations readReservations();
    static Layout layoutOf(const Monitors& monitors, const Reservations& reservations);
    void pump();
    void handle(const xcb_generic_event_t& event);
    void topLevelMapped(xcb_window_t window);
    void scheduleRefresh();
    void scheduleActiveRead();
    void refresh();
    // On the main thread.
    void apply(Layout fresh);

    RunLoop& loop_;
    std::unique_ptr<XcbConnection> connection_;
    std::uint8_t randrFirstEvent_ = 0;
    xcb_atom_t workAreaAtom_ = 0, clientListAtom_ = 0, currentDesktopAtom_ = 0, strutPartialAtom_ = 0, strutAtom_ = 0,
               activeWindowAtom_ = 0;
    mutable std::mutex mutex_;
    Layout layout_;
    std::optional<RectTL> activeFrame_;
    // Worker only.
    Monitors monitors_;
    // The mapped children of the root, watched for their struts, and those that have one.
    std::set<xcb_window_t> topLevels_;
    std::set<xcb_window_t> strutHolders_;
    Timer pendingRefresh_;
    Timer pendingActiveRead_;
    Subscription readable_;
    std::unique_ptr<WorkerLoop> worker_;
    // Main thread only.
    Signal<> changed_;
    Lifetime lifetime_;
};

}  // namespace quillbern
