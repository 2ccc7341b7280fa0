#include "linux/x11/X11WindowList.h"

#include "linux/x11/X11Connection.h"
#include "linux/x11/X11Screens.h"

namespace quillbern {

namespace {

// Layers as the rest of the system counts them: 0 for ordinary windows.
constexpr int kFloatingLayer = 3;
constexpr int kDockLayer = 20;

struct Pending {
    xcb_window_t window;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
    xcb_get_property_cookie_t state;
    xcb_get_property_cookie_t type;
    xcb_get_property_cookie_t extents;
};

}  // namespace

X11WindowList::X11WindowList(X11Connection& connection, const X11Screens& screens)
    : connection_(connection), screens_(screens) {}

std::optional<std::vector<ListedWindow>> X11WindowList::onScreenWindows() const {
    xcb_connection_t* c = connection_.xcb();
    const auto stacking = connection_.cardinals(connection_.root(), connection_.atom("_NET_CLIENT_LIST_STACKING"));
    if (!stacking) return std::nullopt;

    const xcb_atom_t wmState = connection_.atom("_NET_WM_STATE");
    const xcb_atom_t wmType = connection_.atom("_NET_WM_WINDOW_TYPE");
    const xcb_atom_t frameExtents = connection_.atom("_NET_FRAME_EXTENTS");
    const xcb_atom_t hidden = connection_.atom("_NET_WM_STATE_HIDDEN");
    const xcb_atom_t above = connection_.atom("_NET_WM_STATE_ABOVE");
    const xcb_atom_t desktop = connection_.atom("_NET_WM_WINDOW_TYPE_DESKTOP");
    const xcb_atom_t dock = connection_.atom("_NET_WM_WINDOW_TYPE_DOCK");

    // Every request first, then every reply: one round trip for the whole list.
    std::vector<Pending> pending;
    pending.reserve(stacking->size());
    for (auto it = stacking->rbegin(); it != stacking->rend(); ++it) {
        const xcb_window_t w = *it;
        pending.push_back({w, xcb_get_window_attributes(c, w), xcb_get_geometry(c, w),
                           xcb_translate_coordinates(c, w, connection_.root(), 0, 0),
                           xcb_get_property(c, 0, w, wmState, XCB_ATOM_ATOM, 0, 64),
                           xcb_get_property(c, 0, w, wmType, XCB_ATOM_ATOM, 0, 64),
                           xcb_get_property(c, 0, w, frameExtents, XCB_ATOM_CARDINAL, 0, 4)});
    }

    const DesktopSpace space = screens_.desktopSpace();
    std::vector<ListedWindow> windows;
    windows.reserve(pending.size());
    for (const Pending& p : pending) {
        const XcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, p.attributes, nullptr));
        const XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, p.geometry, nullptr));
        const XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(c, p.origin, nullptr));
        const auto state = propertyItems(c, p.state);
        const auto type = propertyItems(c, p.type);
        const auto extents = propertyItems(c, p.extents);
        // A window that vanished since the list was read simply is not on screen.
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE || holds(state, hidden)) continue;
        if (holds(type, desktop)) continue;

        ListedWindow listed{p.window, 0, std::nullopt};
        if (holds(type, dock)) {
            listed.layer = kDockLayer;
        } else if (holds(state, above)) {
            listed.layer = kFloatingLayer;
        }
        if (geometry && origin) {
            const RectTL root{double(origin->dst_x), double(origin->dst_y), double(geometry->width),
                              double(geometry->height)};
            listed.bounds = space.toGlobal(outerFrame(root, FrameExtents::from(extents)));
        }
        windows.push_back(listed);
    }
    // The replies may have pulled events into xcb's queue.
    connection_.drainSoon();
    return windows;
}

}  // namespace quillbern
