#include "linux/X11Connection.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <cstdlib>

#include "core/foundation/Log.h"

namespace quillbern {

void FreeDeleter::operator()(void* p) const { std::free(p); }

std::unique_ptr<X11Connection> X11Connection::open() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        log("cannot connect to the X server");
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    return std::unique_ptr<X11Connection>(new X11Connection(connection, it.data->root));
}

X11Connection::X11Connection(xcb_connection_t* connection, xcb_window_t root)
    : connection_(connection),
      root_(root),
      notifier_(std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection), QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
}

X11Connection::~X11Connection() {
    notifier_.reset();
    xcb_disconnect(connection_);
}

xcb_atom_t X11Connection::atom(const std::string& name) const {
    std::lock_guard lock(atomsMutex_);
    if (const auto it = atoms_.find(name); it != atoms_.end()) return it->second;
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr));
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    if (atom != XCB_ATOM_NONE) atoms_[name] = atom;
    return atom;
}

Subscription X11Connection::onEvent(std::function<void(const xcb_generic_event_t&)> handler) {
    return events_.connect(std::move(handler));
}

void X11Connection::drainSoon() {
    QMetaObject::invokeMethod(notifier_.get(), [this] { drain(); }, Qt::QueuedConnection);
}

void X11Connection::drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const XcbReply<xcb_generic_event_t> owned(event);
        events_.emit(*event);
    }
    if (xcb_connection_has_error(connection_)) {
        log("the connection to the X server broke");
        notifier_->setEnabled(false);
    }
}

std::optional<std::vector<std::uint32_t>> X11Connection::cardinals(xcb_window_t window, xcb_atom_t property) const {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr));
    if (!reply || reply->format != 32 || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<std::uint32_t>(items, items + xcb_get_property_value_length(reply.get()) / 4);
}

}  // namespace quillbern
