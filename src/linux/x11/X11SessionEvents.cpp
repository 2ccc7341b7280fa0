#include "linux/x11/X11SessionEvents.h"

#include "linux/x11/X11Connection.h"

namespace quillbern {

X11SessionEvents::X11SessionEvents(X11Connection& connection)
    : connection_(connection), currentDesktopAtom_(connection.atom("_NET_CURRENT_DESKTOP")) {
    connection_.selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    desktop_ = currentDesktop();
    events_ = connection_.onEvent([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return;
        const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (property.window != connection_.root() || property.atom != currentDesktopAtom_) return;
        // Window managers rewrite the property without a switch, too.
        const auto desktop = currentDesktop();
        if (desktop == desktop_) return;
        desktop_ = desktop;
        signals_[SessionEvent::desktopChanged].emit();
    });
}

Subscription X11SessionEvents::on(SessionEvent event, Task task) {
    return signals_[event].connect(std::move(task));
}

std::optional<std::uint32_t> X11SessionEvents::currentDesktop() const {
    const auto items = connection_.cardinals(connection_.root(), currentDesktopAtom_);
    connection_.drainSoon();
    if (!items || items->empty()) return std::nullopt;
    return items->front();
}

}  // namespace quillbern
