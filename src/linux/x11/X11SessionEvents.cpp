#include "linux/x11/X11SessionEvents.h"

#include "linux/x11/X11Connection.h"

namespace quillbern {

X11SessionEvents::X11SessionEvents(X11Connection& connection)
    : connection_(connection), currentDesktopAtom_(connection.atom("_NET_CURRENT_DESKTOP")) {
    connection_.selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    const auto items = connection_.cardinals(connection_.root(), currentDesktopAtom_);
    connection_.drainSoon();
    if (items && !items->empty()) desktop_ = items->front();
    events_ = connection_.onEvent([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return;
        const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (property.window == connection_.root() && property.atom == currentDesktopAtom_) readDesktop();
    });
}

Subscription X11SessionEvents::on(SessionEvent event, Task task) {
    return signals_[event].connect(std::move(task));
}

void X11SessionEvents::readDesktop() {
    xcb_connection_t* c = connection_.xcb();
    connection_.whenReplied<xcb_get_property_reply_t>(
        xcb_get_property(c, 0, connection_.root(), currentDesktopAtom_, XCB_ATOM_CARDINAL, 0, 1),
        lifetime_.guard([this](const xcb_get_property_reply_t* reply) {
            std::optional<std::uint32_t> desktop;
            if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
                desktop = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
            // Window managers rewrite the property without a switch, too.
            if (desktop == desktop_) return;
            desktop_ = desktop;
            signals_[SessionEvent::desktopChanged].emit();
        }));
}

}  // namespace quillbern
