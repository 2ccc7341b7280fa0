#include "xcb/WindowManagerMessage.h"

#include <algorithm>

namespace quillbern {

void sendToWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                         const std::array<std::uint32_t, 5>& data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

}  // namespace quillbern
