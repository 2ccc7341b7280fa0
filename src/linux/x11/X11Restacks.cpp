#include "linux/x11/X11Restacks.h"

#include "linux/x11/X11Connection.h"

namespace quillbern {

X11Restacks::X11Restacks(X11Connection& connection)
    : connection_(connection), stackingAtom_(connection.atom("_NET_CLIENT_LIST_STACKING")) {
    connection_.selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    events_ = connection_.onEvent([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return;
        const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (property.window == connection_.root() && property.atom == stackingAtom_) restacked_.emit();
    });
}

}  // namespace quillbern
