#include "linux/x11/X11Permissions.h"

#include <utility>

#include "linux/x11/X11Connection.h"
#include "linux/x11/X11Errors.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

namespace {

// The one window a WINDOW property names; none when absent or malformed.
std::optional<std::uint32_t> namedWindow(const xcb_get_property_reply_t* reply) {
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(reply) != 4) {
        return std::nullopt;
    }
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
}

}  // namespace

X11Permissions::X11Permissions(X11Connection& connection)
    : connection_(connection), checkAtom_(connection.atom("_NET_SUPPORTING_WM_CHECK")) {
    connection_.selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    events_ = connection_.onEvent([this](const xcb_generic_event_t& event) {
        const std::uint8_t type = event.response_type & 0x7F;
        if (type == XCB_PROPERTY_NOTIFY) {
            const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (property.atom == checkAtom_ &&
                (property.window == connection_.root() || property.window == checkWindow_))
                checkAgain();
        } else if (type == XCB_DESTROY_NOTIFY) {
            if (reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == checkWindow_) checkAgain();
        }
    });
    // The first answer is needed before anyone asks.
    xcb_connection_t* c = connection_.xcb();
    const auto named = connection_.cardinals(connection_.root(), checkAtom_);
    if (named && named->size() == 1) {
        watchCheckWindow(named->front());
        const auto self = connection_.cardinals(named->front(), checkAtom_);
        trusted_ = self && self->size() == 1 && self->front() == named->front();
    }
    xcb_flush(c);
    connection_.drainSoon();
}

X11Permissions::~X11Permissions() = default;

bool X11Permissions::isWindowAccessTrusted() const {
    return trusted_ && checkAtom_ != XCB_ATOM_NONE && !connection_.connection().isBroken();
}

Subscription X11Permissions::onTrustChange(Task handler) {
    return changed_.connect(std::move(handler));
}

void X11Permissions::checkAgain() {
    if (checking_) {
        checkAgain_ = true;
        return;
    }
    checking_ = true;
    xcb_connection_t* c = connection_.xcb();
    connection_.whenReplied<xcb_get_property_reply_t>(
        xcb_get_property(c, 0, connection_.root(), checkAtom_, XCB_ATOM_WINDOW, 0, 1),
        lifetime_.guard([this, c](const xcb_get_property_reply_t* reply) {
            const std::optional<std::uint32_t> window = namedWindow(reply);
            if (!window) return conclude(false);
            // Watched before it is asked: a destruction in between is heard.
            watchCheckWindow(*window);
            connection_.whenReplied<xcb_get_property_reply_t>(
                xcb_get_property(c, 0, *window, checkAtom_, XCB_ATOM_WINDOW, 0, 1),
                lifetime_.guard([this, window](const xcb_get_property_reply_t* self) {
                    // A window that is gone answers with an error: no reply.
                    conclude(namedWindow(self) == window);
                }));
        }));
}

void X11Permissions::watchCheckWindow(std::uint32_t window) {
    if (window == checkWindow_) return;
    checkWindow_ = window;
    selectEventsOfPassingWindow(connection_.xcb(), window,
                                XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE);
    xcb_flush(connection_.xcb());
}

void X11Permissions::conclude(bool trusted) {
    checking_ = false;
    if (std::exchange(checkAgain_, false)) return checkAgain();
    if (trusted_.exchange(trusted) != trusted) changed_.emit();
}

bool X11Permissions::requestWindowAccess() {
    return isWindowAccessTrusted();
}

std::optional<CommandLine> X11Permissions::staleEntryResetCommand() const {
    return std::nullopt;
}

bool X11Permissions::isCaptureAllowed() const {
    return true;
}

void X11Permissions::requestCaptureAccess(std::function<void(bool)> done) {
    done(true);
}

}  // namespace quillbern
