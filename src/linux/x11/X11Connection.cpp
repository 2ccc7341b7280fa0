#include "linux/x11/X11Connection.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <cstdlib>
#include <xcb/xcbext.h>

#include "core/foundation/Log.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

std::unique_ptr<X11Connection> X11Connection::open() {
    auto connection = XcbConnection::open();
    if (!connection) return nullptr;
    return std::unique_ptr<X11Connection>(new X11Connection(std::move(connection)));
}

X11Connection::X11Connection(std::unique_ptr<XcbConnection> connection)
    : connection_(std::move(connection)),
      notifier_(std::make_unique<QSocketNotifier>(connection_->fd(), QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
}

X11Connection::~X11Connection() {
    notifier_.reset();
}

xcb_connection_t* X11Connection::xcb() const {
    return connection_->xcb();
}

xcb_window_t X11Connection::root() const {
    return connection_->root();
}

xcb_atom_t X11Connection::atom(const std::string& name) const {
    return connection_->atom(name);
}

void X11Connection::selectRootEvents(std::uint32_t mask) {
    rootEvents_ |= mask;
    xcb_change_window_attributes(xcb(), root(), XCB_CW_EVENT_MASK, &rootEvents_);
    xcb_flush(xcb());
}

Subscription X11Connection::onEvent(std::function<void(const xcb_generic_event_t&)> handler) {
    return events_.connect(std::move(handler));
}

void X11Connection::drainSoon() {
    QMetaObject::invokeMethod(
        notifier_.get(), [this] { drain(); }, Qt::QueuedConnection);
}

void X11Connection::drain() {
    // Handlers' own reads, and looking for replies, may read more from the socket without
    // it staying readable: the turn goes on while there is more, for a few rounds, and then
    // lets the loop do its other work before it goes on.
    constexpr int kRounds = 8;
    bool progressed = true;
    for (int round = 0; progressed && round < kRounds; ++round) {
        progressed = false;
        for (const auto& event : connection_->takeEvents()) {
            events_.emit(*event);
            progressed = true;
        }
        progressed |= takeReplies();
    }
    if (progressed) drainSoon();
    if (connection_->isBroken() && notifier_->isEnabled()) {
        log("the connection to the X server broke");
        notifier_->setEnabled(false);
    }
}

void X11Connection::awaitReply(unsigned sequence, std::function<void(const void*)> handler) {
    awaited_.push_back({sequence, std::move(handler)});
    xcb_flush(xcb());
}

bool X11Connection::takeReplies() {
    // Replies come in the order of their requests: the first one missing ends the turn.
    bool took = false;
    while (!awaited_.empty()) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (!xcb_poll_for_reply(xcb(), awaited_.front().sequence, &reply, &error)) return took;
        took = true;
        const XcbReply<void> owned(reply);
        std::free(error);
        // The handler may ask again, which adds to the queue.
        const std::function<void(const void*)> handler = std::move(awaited_.front().handler);
        awaited_.pop_front();
        handler(reply);
    }
    return took;
}

std::optional<std::vector<std::uint32_t>> X11Connection::cardinals(xcb_window_t window, xcb_atom_t property) const {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        xcb(), xcb_get_property(xcb(), 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr));
    if (!reply || reply->format != 32 || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<std::uint32_t>(items, items + xcb_get_property_value_length(reply.get()) / 4);
}

}  // namespace quillbern
