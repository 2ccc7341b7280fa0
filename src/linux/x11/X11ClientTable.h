#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>
#include <xcb/xcb.h>

#include "core/platform/ScreenGeometry.h"
#include "core/platform/Types.h"
#include "core/platform/WindowList.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11Properties.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

// What the window manager and the client say about one managed client window.
struct ClientFacts {
    xcb_window_t window = XCB_WINDOW_NONE;
    // Whose window it is: the process the X server saw connect as its client (X-Resource),
    // when the window names no other machine (WM_CLIENT_MACHINE); for one that names another,
    // that process and machine (machineOwner); where the server cannot tell the client (over
    // TCP), the window's connection (connectionOwner). Neither names a process: the windows
    // a local relay (ssh -X) forwards from one machine are one application, never the
    // relay's, and a window over TCP is one of its own. `_NET_WM_PID`, which a client
    // may set to any process, counts for nothing. The owner groups windows into applications
    // and names them; it is never signalled (ChildProcess), so a process that took the id of
    // a client that ended only gains its windows' tile. Read without /proc.
    std::optional<Pid> pid;
    std::optional<std::string> title;
    bool minimized = false;
    bool fullScreen = false;
    // Docks, panels and the desktop are no application windows.
    bool isDockOrDesktop = false;
    bool isDesktop = false;
    // Mapped, with every ancestor: on screen unless minimised.
    bool viewable = true;
    // _NET_WM_STATE_ABOVE: kept over ordinary windows.
    bool above = false;
    // Normal, dialog, utility or untyped: what counts as a window of an application.
    bool isOrdinary = true;
    // WM_HINTS input=False: the window never takes the focus.
    bool acceptsFocus = true;
    bool closable = true;
    // The outer frame, decorations included, in top-left global space.
    std::optional<RectTL> frame;
    FrameExtents extents;
    bool operator==(const ClientFacts&) const = default;

    // Where the on-screen list puts it: 0 for ordinary windows, higher for those kept over them.
    int layer() const;
};

// The owner of a window that no process owns: its connection to the X server, whose
// resource base every window the client makes on it carries, as a key below zero.
Pid connectionOwner(xcb_window_t window, std::uint32_t resourceMask);
// The owner of the windows that the process `relay` holds for clients of another machine,
// the same for every connection it holds: a key below zero, apart from connections' keys.
Pid machineOwner(Pid relay, std::string_view machine);
// Whether an owner is a process, not a connection or a machine.
constexpr bool isProcessOwner(Pid owner) {
    return owner > 0;
}

// Every managed client at one moment.
struct ClientTable {
    std::vector<ClientFacts> frontToBack;
    xcb_window_t active = XCB_WINDOW_NONE;

    const ClientFacts* find(xcb_window_t window) const;
    // The front-most window of the process that is not minimised.
    const ClientFacts* mainWindowOf(Pid pid) const;
    bool operator==(const ClientTable&) const = default;
};

// The table's mapped windows that are neither minimised nor the desktop, front to back.
std::vector<ListedWindow> onScreenList(const ClientTable& table);

// Asks the window manager, as a pager would, to bring the window forward and focus it; a
// window that never takes the focus is only raised. `userTime` is the server time of the
// user's input that asks for it, where known.
void bringForward(xcb_connection_t* c, xcb_window_t root, const ClientFacts& window, xcb_atom_t activeWindow,
                  xcb_atom_t restackWindow, xcb_timestamp_t userTime = XCB_CURRENT_TIME);

// Shows an application again by activation: the windows its hiding minimised that their
// processes still list, whether or not the table shows them minimised yet; without those,
// every minimised window of the process. The front-most goes last, so it ends up in front.
void showWindows(xcb_connection_t* c, xcb_window_t root, const ClientTable& table, Pid pid,
                 const std::vector<HiddenWindow>& hidden, xcb_atom_t activeWindow, xcb_atom_t restackWindow,
                 xcb_timestamp_t userTime = XCB_CURRENT_TIME);

// Asks the window manager to minimise the window.
void minimize(xcb_connection_t* c, xcb_window_t root, const ClientFacts& window, xcb_atom_t changeState);
// Asks the window manager, as a pager would, to close the window; its client may still
// ask the user first.
void requestClose(xcb_connection_t* c, xcb_window_t root, const ClientFacts& window, xcb_atom_t closeWindow);

// A reading to start from: its windows not named stale are taken as they were.
struct KnownClients {
    const ClientTable& table;
    const std::set<xcb_window_t>& stale;
};

// Which clients the next reading asks about again, from what the X server reported since
// the last one; it takes the others from that reading as they were.
class StaleClients {
public:
    explicit StaleClients(const XcbConnection& connection);

    void note(const std::vector<XcbReply<xcb_generic_event_t>>& reports);
    // A window whose facts the next reading asks for again, though no report named it.
    void mark(xcb_window_t window) { windows_.insert(window); }
    // What a reading in `space` starts from; nullopt while every window is to be read.
    std::optional<KnownClients> since(const ClientTable& last, const DesktopSpace& space) const;
    // A reading in `space` succeeded: it is the last one from now on.
    void read(const DesktopSpace& space);

private:
    xcb_window_t root_;
    // The root's properties that change no client's facts: every reading asks for them, or
    // they only list the clients.
    std::array<xcb_atom_t, 3> rootListing_;
    std::set<xcb_window_t> windows_;
    bool everyWindow_ = true;
    DesktopSpace space_;
};

// Reads the table with every request sent before any reply is awaited. Every reader of the
// table (running applications, window access, capture, the on-screen list) takes a window's
// owner by this one rule.
class X11ClientReader {
public:
    // What a reading asks of each window: all its facts, or only those of where it stands and
    // whether it shows (onScreenList), for five requests fewer a window and none a client.
    enum class Reading { everything, places };

    explicit X11ClientReader(XcbConnection& connection, Reading reading = Reading::everything);

    // The stacking and the active window always, and the facts of every listed window not
    // known; nullopt when no window manager keeps a client list, or past the deadline. Each
    // window whose facts it reads is first asked for the reports in `follow`, so no change
    // after its reading goes unreported.
    std::optional<ClientTable> read(const DesktopSpace& space, XcbConnection::Deadline deadline,
                                    std::optional<KnownClients> known = std::nullopt,
                                    std::uint32_t follow = XCB_EVENT_MASK_NO_EVENT) const;

private:
    // The window's owner, from the process the server saw connect as its client and the
    // machine the window names, against this machine's name, `host`.
    Pid owner(xcb_window_t window, std::optional<Pid> client, const std::optional<std::string>& machine,
              std::string_view host) const;

    XcbConnection& connection_;
    bool placesOnly_;
    bool hasResourceExtension_ = false;
    std::uint32_t resourceMask_;
    struct Atoms {
        xcb_atom_t stacking, active, type, state, wmState, name, utf8, extents, hints, allowed;
        xcb_atom_t hidden, fullScreen, above, dock, desktop, normal, dialog, utility, close;
    } atoms_;
};

}  // namespace quillbern
