#include "linux/x11/XcbConnection.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <xcb/xcbext.h>

#include "core/foundation/Log.h"
#include "linux/x11/X11Errors.h"

namespace quillbern {

namespace {

// Every atom the program names, interned in one round trip when a connection opens, so no
// later look-up waits for the server.
constexpr const char* kKnownAtoms[] = {
    "EDID",
    "UTF8_STRING",
    "WM_CHANGE_STATE",
    "WM_STATE",
    "_GTK_APPLICATION_ID",
    "_KDE_NET_WM_DESKTOP_FILE",
    "_NET_ACTIVE_WINDOW",
    "_NET_CLIENT_LIST",
    "_NET_CLIENT_LIST_STACKING",
    "_NET_CLOSE_WINDOW",
    "_NET_CURRENT_DESKTOP",
    "_NET_FRAME_EXTENTS",
    "_NET_MOVERESIZE_WINDOW",
    "_NET_RESTACK_WINDOW",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_WM_ACTION_CLOSE",
    "_NET_WM_ALLOWED_ACTIONS",
    "_NET_WM_NAME",
    "_NET_WM_PID",
    "_NET_WM_STATE",
    "_NET_WM_STATE_ABOVE",
    "_NET_WM_STATE_FULLSCREEN",
    "_NET_WM_STATE_HIDDEN",
    "_NET_WM_STRUT",
    "_NET_WM_STRUT_PARTIAL",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_DESKTOP",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_WINDOW_TYPE_DOCK",
    "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
    "_NET_WM_WINDOW_TYPE_MENU",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_POPUP_MENU",
    "_NET_WM_WINDOW_TYPE_UTILITY",
    "_NET_WORKAREA",
};

}  // namespace

std::unique_ptr<XcbConnection> XcbConnection::open() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        log("cannot connect to the X server");
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    return std::unique_ptr<XcbConnection>(new XcbConnection(connection, it.data->root, screenNumber));
}

bool XcbConnection::displayIsReachable() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

XcbConnection::XcbConnection(xcb_connection_t* connection, xcb_window_t root, int screenNumber)
    : connection_(connection), root_(root), screenNumber_(screenNumber) {
    std::vector<std::pair<const char*, xcb_intern_atom_cookie_t>> cookies;
    for (const char* name : kKnownAtoms)
        cookies.emplace_back(name, xcb_intern_atom(connection_, 0, std::uint16_t(std::strlen(name)), name));
    for (const auto& [name, cookie] : cookies) {
        const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
        if (reply && reply->atom != XCB_ATOM_NONE) atoms_[name] = reply->atom;
    }
}

XcbConnection::~XcbConnection() {
    xcb_disconnect(connection_);
}

xcb_atom_t XcbConnection::atom(const std::string& name) const {
    std::lock_guard lock(atomsMutex_);
    if (const auto it = atoms_.find(name); it != atoms_.end()) return it->second;
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr));
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    if (atom != XCB_ATOM_NONE) atoms_[name] = atom;
    return atom;
}

bool XcbConnection::keepArrivedEvents() {
    // Each call reads the socket once its queue is empty, without blocking. Errors of
    // requests nobody checks arrive here too; no handler wants them.
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if (event->response_type == 0) {
            logUncheckedError(*reinterpret_cast<const xcb_generic_error_t*>(event));
            std::free(event);
            continue;
        }
        kept_.emplace_back(event);
    }
    return !kept_.empty();
}

bool XcbConnection::sync(Deadline deadline) {
    // Replies come in request order: once this one is in, all earlier ones are too.
    const unsigned fence = xcb_get_input_focus(connection_).sequence;
    xcb_flush(connection_);
    ++roundTrips_;
    for (;;) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        for (int pass = 0; pass < 2; ++pass) {
            if (xcb_poll_for_reply(connection_, fence, &reply, &error)) {
                std::free(reply);
                std::free(error);
                return true;
            }
            if (pass == 0) keepArrivedEvents();
        }
        if (isBroken()) return false;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            xcb_discard_reply(connection_, fence);
            return false;
        }
        pollfd readable{fd(), POLLIN, 0};
        poll(&readable, 1, int(std::min<long long>(left.count(), 1000)));
    }
}

std::vector<XcbReply<xcb_generic_event_t>> XcbConnection::takeEvents() {
    keepArrivedEvents();
    return std::exchange(kept_, {});
}

}  // namespace quillbern
