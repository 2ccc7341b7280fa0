#include "ui/foundation/QtX11.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QRegion>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <linux/sockios.h>
#include <map>
#include <string>
#include <sys/ioctl.h>
#include <utility>
#include <vector>
#include <xcb/xcbext.h>

#include "xcb/WindowManagerMessage.h"

namespace quillbern {

// Asked once an application: Qt looks the interface up by name each time, which frames would
// pay for.
xcb_connection_t* qtX11Connection() {
    static const QGuiApplication* askedOf = nullptr;
    static xcb_connection_t* connection = nullptr;
    if (std::exchange(askedOf, qGuiApp) != qGuiApp) {
        const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        connection = x11 ? x11->connection() : nullptr;
    }
    return connection;
}

namespace {

// One turn of the main loop: from its waking to its next wait.
struct ThisTurn {
    // What the socket held that the server had not read, when first asked this turn: asking
    // is a system call, and what the server reads meanwhile only makes the count safer. What
    // Qt sends meanwhile is small and counted from the next turn.
    std::optional<int> unread;
    // What sendAfterThisTurn holds back in xcb's buffer.
    std::size_t heldBack = 0;
};
ThisTurn thisTurn;

// Sends what was held back as the loop is about to wait, or goes round without waiting, and
// starts the next turn's count.
void endTurns() {
    static const QGuiApplication* endingOf = nullptr;
    if (std::exchange(endingOf, qGuiApp) == qGuiApp) return;
    const auto endTurn = [] {
        xcb_connection_t* c = qtX11Connection();
        if (thisTurn.heldBack > 0 && c && !xcb_connection_has_error(c)) xcb_flush(c);
        thisTurn = {};
    };
    const QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance(qGuiApp->thread());
    QObject::connect(loop, &QAbstractEventDispatcher::aboutToBlock, qGuiApp, endTurn);
    QObject::connect(loop, &QAbstractEventDispatcher::awake, qGuiApp, endTurn);
}

}  // namespace

std::optional<XcbReply<void>> polledReply(xcb_connection_t* connection, unsigned request) {
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (!xcb_poll_for_reply(connection, request, &reply, &error)) return std::nullopt;
    std::free(error);
    return XcbReply<void>(reply);
}

std::optional<int> bytesUnreadByServer(xcb_connection_t* connection) {
    if (xcb_connection_has_error(connection)) return {};
    if (!thisTurn.unread) {
        if (thisTurn.heldBack == 0 && xcb_flush(connection) <= 0) return {};
        int unread = 0;
        if (::ioctl(xcb_get_file_descriptor(connection), SIOCOUTQ, &unread) != 0) return {};
        thisTurn.unread = unread;
        endTurns();
    }
    return *thisTurn.unread + static_cast<int>(thisTurn.heldBack);
}

void sendAfterThisTurn(std::size_t bytes) {
    thisTurn.heldBack += bytes;
    endTurns();
}

void sendNow(xcb_connection_t* connection) {
    if (!xcb_connection_has_error(connection)) xcb_flush(connection);
    thisTurn = {};
}

xcb_atom_t qtX11Atom(std::string_view name) {
    static std::map<std::string, xcb_atom_t, std::less<>> interned;
    if (const auto found = interned.find(name); found != interned.end()) return found->second;
    xcb_connection_t* c = qtX11Connection();
    if (!c) return XCB_ATOM_NONE;
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    interned.emplace(std::string(name), atom);
    return atom;
}

void setBlurBehind(const QWidget& window, const std::optional<QRegion>& region) {
    xcb_connection_t* c = qtX11Connection();
    const xcb_atom_t property = qtX11Atom("_KDE_NET_WM_BLUR_BEHIND_REGION");
    if (!c || property == XCB_ATOM_NONE || !window.windowHandle()) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    // An empty region would ask for the whole window.
    if (!region || region->isEmpty()) {
        xcb_delete_property(c, id, property);
        xcb_flush(c);
        return;
    }
    // The property is in the window's pixels.
    const double scale = window.devicePixelRatioF();
    std::vector<std::uint32_t> values;
    for (const QRect& r : *region) {
        const auto px = [scale](int v) { return static_cast<std::uint32_t>(std::lround(v * scale)); };
        values.insert(values.end(), {px(r.x()), px(r.y()), px(r.width()), px(r.height())});
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, property, XCB_ATOM_CARDINAL, 32,
                        static_cast<std::uint32_t>(values.size()), values.data());
    xcb_flush(c);
}

void withdrawFocusOffer(const QWidget& window) {
    xcb_connection_t* c = qtX11Connection();
    if (!c) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t protocols = qtX11Atom("WM_PROTOCOLS");
    const xcb_atom_t takeFocus = qtX11Atom("WM_TAKE_FOCUS");
    constexpr std::uint32_t kMostProtocols = 32;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, id, protocols, XCB_ATOM_ATOM, 0, kMostProtocols), nullptr);
    std::vector<xcb_atom_t> offered;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        offered.assign(atoms, atoms + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    if (std::erase(offered, takeFocus) == 0) return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, protocols, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(offered.size()), offered.data());
    xcb_flush(c);
}

std::string windowManagerName() {
    xcb_connection_t* c = qtX11Connection();
    if (!c) return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t* check = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, qtX11Atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1), nullptr);
    std::optional<xcb_window_t> window;
    if (check && check->format == 32 && xcb_get_property_value_length(check) == 4)
        window = *static_cast<const xcb_window_t*>(xcb_get_property_value(check));
    std::free(check);
    if (!window) return {};
    constexpr std::uint32_t kNameWords = 64;
    xcb_get_property_reply_t* name = xcb_get_property_reply(
        c, xcb_get_property(c, 0, *window, qtX11Atom("_NET_WM_NAME"), qtX11Atom("UTF8_STRING"), 0, kNameWords),
        nullptr);
    std::string text;
    if (name && name->format == 8)
        text.assign(static_cast<const char*>(xcb_get_property_value(name)), xcb_get_property_value_length(name));
    std::free(name);
    return text;
}

void restackBelow(const QWidget& window, const QWidget& sibling) {
    xcb_connection_t* c = qtX11Connection();
    if (!c || !window.windowHandle() || !sibling.windowHandle()) return;
    constexpr std::uint32_t kSourcePager = 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    sendToWindowManager(c, root, static_cast<xcb_window_t>(window.winId()), qtX11Atom("_NET_RESTACK_WINDOW"),
                        {kSourcePager, static_cast<xcb_window_t>(sibling.winId()), XCB_STACK_MODE_BELOW, 0, 0});
}

void moveToCurrentDesktop(const QWidget& window) {
    xcb_connection_t* c = qtX11Connection();
    if (!c || !window.windowHandle()) return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, qtX11Atom("_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL, 0, 1), nullptr);
    std::optional<std::uint32_t> desktop;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        desktop = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    std::free(reply);
    if (!desktop) return;
    constexpr std::uint32_t kSourcePager = 2;
    sendToWindowManager(c, root, static_cast<xcb_window_t>(window.winId()), qtX11Atom("_NET_WM_DESKTOP"),
                        {*desktop, kSourcePager, 0, 0, 0});
}

}  // namespace quillbern
