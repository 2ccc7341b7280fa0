#include "linux/x11/X11Compositing.h"

#include <string>
#include <xcb/xfixes.h>

#include "core/foundation/Log.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

X11Compositing::X11Compositing(X11Connection& connection) : connection_(connection) {
    xcb_connection_t* c = connection_.xcb();
    const xcb_atom_t selection =
        connection_.atom("_NET_WM_CM_S" + std::to_string(connection_.connection().screenNumber()));
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        // The extension answers only a client that has told its version first.
        const XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
            c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION), nullptr));
        // Watched before the owner is read, so a compositor starting in between is not missed.
        xcb_xfixes_select_selection_input(c, connection_.root(), selection,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        const std::uint8_t notify = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
        events_ = connection_.onEvent([this, notify, selection](const xcb_generic_event_t& event) {
            if ((event.response_type & 0x7F) != notify) return;
            const auto& notice = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
            if (notice.selection != selection) return;
            const bool running =
                notice.subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER && notice.owner != XCB_WINDOW_NONE;
            if (running == running_) return;
            running_ = running;
            changed_.emit();
        });
    } else {
        log("the X server has no XFixes: a compositing manager that starts or stops later is not noticed");
    }
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    running_ = owner && owner->owner != XCB_WINDOW_NONE;
    connection_.drainSoon();
}

Subscription X11Compositing::onChanged(Task task) {
    return changed_.connect(std::move(task));
}

}  // namespace quillbern
