#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

#include "core/foundation/Signal.h"
#include "linux/x11/X11Properties.h"

class QSocketNotifier;

namespace quillbern {

class XcbConnection;

// Our own connection to the X server, beside Qt's: root property tracking, RandR and
// XInput2 events. Its events are read on the main thread through a socket notifier and
// handed to every subscriber; requests of the main thread have their replies handled as
// they arrive, so it never waits for the server.
class X11Connection {
public:
    // Connects to $DISPLAY; null (logged) when the server cannot be reached.
    static std::unique_ptr<X11Connection> open();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* xcb() const;
    xcb_window_t root() const;
    xcb_atom_t atom(const std::string& name) const;  // interned once, any thread
    // For readers that pipeline their requests; events their waits keep still reach the
    // subscribers, once drainSoon() runs.
    XcbConnection& connection() const { return *connection_; }

    // [main] Adds to the events this connection gets on the root window: each backend
    // selects what it needs without taking away what the others selected.
    void selectRootEvents(std::uint32_t mask);
    // [main] Every event that arrives; the event is valid during the call only.
    [[nodiscard]] Subscription onEvent(std::function<void(const xcb_generic_event_t&)> handler);
    // A blocking reply may have pulled events into xcb's queue without the socket becoming
    // readable again: every caller of one schedules a drain (any thread).
    void drainSoon();
    // [main] Calls `handler` with the reply of a request sent on this connection from the
    // main thread once it arrives, or with null when the request failed; never waits.
    template <class Reply, class Cookie>
    void whenReplied(Cookie cookie, std::function<void(const Reply*)> handler) {
        awaitReply(cookie.sequence,
                   [handler = std::move(handler)](const void* reply) { handler(static_cast<const Reply*>(reply)); });
    }

    // Properties of 32-bit items (CARDINAL, WINDOW, ATOM); nullopt when absent or unreadable.
    std::optional<std::vector<std::uint32_t>> cardinals(xcb_window_t window, xcb_atom_t property) const;

private:
    explicit X11Connection(std::unique_ptr<XcbConnection> connection);
    void drain();
    void awaitReply(unsigned sequence, std::function<void(const void*)> handler);
    // Hands every reply that has arrived to its handler, in the order requested; whether
    // there was one.
    bool takeReplies();

    std::unique_ptr<XcbConnection> connection_;
    Signal<const xcb_generic_event_t&> events_;
    struct Awaited {
        unsigned sequence;
        std::function<void(const void*)> handler;
    };
    std::deque<Awaited> awaited_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::uint32_t rootEvents_ = 0;
};

}  // namespace quillbern
