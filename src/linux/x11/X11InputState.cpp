#include "linux/x11/X11InputState.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>
#include <xcb/xinput.h>

#include "core/foundation/Log.h"
#include "linux/x11/KeyCodeTable.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11Screens.h"

namespace quillbern {

namespace {

// X buttons 4 to 7 are the wheel's steps, not presses.
std::optional<MouseButtons> buttonKind(std::uint32_t xButton) {
    switch (xButton) {
        case 1:
            return kLeftButton;
        case 3:
            return kRightButton;
        case 4:
        case 5:
        case 6:
        case 7:
            return std::nullopt;
        default:
            return kOtherButton;
    }
}

}  // namespace

X11InputState::X11InputState(X11Connection& connection, const X11Screens& screens)
    : connection_(connection),
      screens_(screens),
      menuTypes_{connection.atom("_NET_WM_WINDOW_TYPE_POPUP_MENU"),
                 connection.atom("_NET_WM_WINDOW_TYPE_DROPDOWN_MENU"), connection.atom("_NET_WM_WINDOW_TYPE_MENU")} {
    followMenus();
    xcb_connection_t* c = connection_.xcb();
    const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(c, &xcb_input_id);
    const XcbReply<xcb_input_xi_query_version_reply_t> version(
        xinput && xinput->present ? xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr)
                                  : nullptr);
    if (!version || version->major_version < 2 || (version->major_version == 2 && version->minor_version < 2)) {
        log("the X server has no XInput 2.2: clicks of other applications go unseen");
        return;
    }
    xinputOpcode_ = xinput->major_opcode;
    pointer_ = queryPointer();
    selectRawEvents();
    events_ = connection_.onEvent([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) != XCB_GE_GENERIC) return;
        const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
        if (generic.extension != xinputOpcode_) return;
        if (generic.event_type == XCB_INPUT_RAW_MOTION || generic.event_type == XCB_INPUT_MOTION) {
            if (followsMotion_) askForPointer();
            return;
        }
        if (generic.event_type == XCB_INPUT_RAW_KEY_PRESS) {
            const auto& key = reinterpret_cast<const xcb_input_raw_key_press_event_t&>(event);
            if (followsKeys_ && key.detail <= 0xFF) keyPressed_.emit(std::uint8_t(key.detail));
            return;
        }
        const bool press = generic.event_type == XCB_INPUT_RAW_BUTTON_PRESS;
        if (!press && generic.event_type != XCB_INPUT_RAW_BUTTON_RELEASE) return;
        const auto& raw = reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event);
        const std::optional<MouseButtons> kind = buttonKind(raw.detail);
        if (!kind || raw.detail >= 32) return;
        const std::uint32_t bit = 1u << raw.detail;
        if (!press) {
            downButtons_ &= ~bit;
            return;
        }
        downButtons_ |= bit;
        ++presses_;  // unsigned: wraps
        pressed_.emit(*kind, raw.time);
    });
    // From here on the button state is kept from the raw events, so reading it never
    // waits for the server.
    const XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, connection_.root()), nullptr));
    if (reply) {
        std::uint32_t down = 0;
        if (reply->mask & XCB_BUTTON_MASK_1) down |= 1u << 1;
        if (reply->mask & XCB_BUTTON_MASK_2) down |= 1u << 2;
        if (reply->mask & XCB_BUTTON_MASK_3) down |= 1u << 3;
        downButtons_ |= down;
    }
}

X11InputState::~X11InputState() = default;

void X11InputState::selectRawEvents() {
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           std::uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS) |
               std::uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE)};
    // Raw motion comes from every device, whatever window is under the pointer; a warp
    // makes none, but shows as motion on the root unless a window under it takes its own
    // (under xfwm4 and metacity a window's frame): then the next motion of a device tells.
    if (followsMotion_)
        mask.bits |= std::uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_MOTION) | std::uint32_t(XCB_INPUT_XI_EVENT_MASK_MOTION);
    if (followsKeys_) mask.bits |= std::uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS);
    xcb_input_xi_select_events(connection_.xcb(), connection_.root(), 1, &mask.head);
    xcb_flush(connection_.xcb());
}

PointBL X11InputState::pointer() const {
    std::unique_lock lock(pointerMutex_);
    if (!followsMotion_) {
        lock.unlock();
        return queryPointer();
    }
    const PointBL known = pointer_;
    lock.unlock();
    // A warp into a window that takes its own motion shows in no event: every reading also
    // asks afresh, so the copy is at most one reading behind even then.
    if (QThread::currentThread() == QCoreApplication::instance()->thread())
        const_cast<X11InputState*>(this)->askForPointer();
    return known;
}

PointBL X11InputState::pointerNow() const {
    return queryPointer();
}

PointBL X11InputState::queryPointer() const {
    xcb_connection_t* c = connection_.xcb();
    const XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, connection_.root()), nullptr));
    connection_.drainSoon();
    if (!reply) return {};
    return screens_.desktopSpace().toScreen(PointTL{double(reply->root_x), double(reply->root_y)});
}

Subscription X11InputState::onPointerMotion(Task handler) {
    if (!watchesPresses()) return {};
    if (!followsMotion_) {
        {
            std::lock_guard lock(pointerMutex_);
            followsMotion_ = true;
        }
        selectRawEvents();
        // Nothing kept the copy current before: an answer that differs counts as motion.
        askForPointer();
    }
    Subscription listener = moved_.connect(std::move(handler));
    return Subscription(
        [this, token = lifetime_.token(), listener = std::make_shared<Subscription>(std::move(listener))]() mutable {
            listener->reset();
            if (token.isAlive()) motionListenerGone();
        });
}

void X11InputState::motionListenerGone() {
    if (moved_.connectionCount() > 0 || !followsMotion_) return;
    {
        std::lock_guard lock(pointerMutex_);
        followsMotion_ = false;
    }
    selectRawEvents();
}

void X11InputState::askForPointer() {
    if (asking_) {
        askAgain_ = true;
        return;
    }
    asking_ = true;
    const xcb_query_pointer_cookie_t cookie = xcb_query_pointer(connection_.xcb(), connection_.root());
    connection_.whenReplied<xcb_query_pointer_reply_t>(cookie, lifetime_.guard([this](const xcb_query_pointer_reply_t*
                                                                                          reply) {
        asking_ = false;
        bool moved = false;
        if (reply) {
            const PointBL at = screens_.desktopSpace().toScreen(PointTL{double(reply->root_x), double(reply->root_y)});
            std::lock_guard lock(pointerMutex_);
            moved = at != pointer_;
            pointer_ = at;
        }
        if (std::exchange(askAgain_, false)) askForPointer();
        if (moved) moved_.emit();
    }));
}

MouseButtons X11InputState::pressedButtons() const {
    if (watchesPresses()) {
        MouseButtons buttons = 0;
        for (std::uint32_t button = 1, down = downButtons_.load(); button < 32; ++button) {
            if (down & (1u << button)) buttons |= buttonKind(button).value_or(0);
        }
        return buttons;
    }
    xcb_connection_t* c = connection_.xcb();
    const XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, connection_.root()), nullptr));
    connection_.drainSoon();
    if (!reply) return 0;
    MouseButtons buttons = 0;
    if (reply->mask & XCB_BUTTON_MASK_1) buttons |= kLeftButton;
    if (reply->mask & XCB_BUTTON_MASK_3) buttons |= kRightButton;
    if (reply->mask & XCB_BUTTON_MASK_2) buttons |= kOtherButton;
    return buttons;
}

std::uint32_t X11InputState::pressCount() const {
    return presses_.load();
}

bool X11InputState::isKeyDown(KeyCode key) const {
    const std::optional<std::uint8_t> keycode = xKeycodeForKey(key);
    if (!keycode) return false;
    xcb_connection_t* c = connection_.xcb();
    const XcbReply<xcb_query_keymap_reply_t> reply(xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr));
    connection_.drainSoon();
    return reply && (reply->keys[*keycode / 8] >> (*keycode % 8) & 1);
}

bool X11InputState::isMenuOpen() const {
    return openMenus_ > 0;
}

void X11InputState::followMenus() {
    // Menus are override-redirect: the window manager never frames them, so they map as
    // children of the root, with their type and process on the window itself.
    connection_.selectRootEvents(XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    menuEvents_ = connection_.onEvent([this](const xcb_generic_event_t& event) {
        switch (event.response_type & 0x7F) {
            case XCB_MAP_NOTIFY: {
                const auto& map = reinterpret_cast<const xcb_map_notify_event_t&>(event);
                if (map.event == connection_.root() && map.override_redirect) checkMenu(map.window);
                return;
            }
            case XCB_UNMAP_NOTIFY:
            case XCB_DESTROY_NOTIFY: {
                // Both start with the window reporting, then the window gone.
                const auto& gone = reinterpret_cast<const xcb_unmap_notify_event_t&>(event);
                if (gone.event != connection_.root()) return;
                mappedOverrides_.erase(gone.window);
                if (menus_.erase(gone.window) > 0) openMenus_ = int(menus_.size());
                return;
            }
            default:
                return;
        }
    });
    // What is open already, once, waiting for the answers.
    xcb_connection_t* c = connection_.xcb();
    const XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, connection_.root()), nullptr));
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        std::vector<std::pair<xcb_window_t, xcb_get_window_attributes_cookie_t>> cookies;
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            cookies.emplace_back(children[i], xcb_get_window_attributes(c, children[i]));
        for (const auto& [window, cookie] : cookies) {
            const XcbReply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(c, cookie, nullptr));
            if (attributes && attributes->override_redirect && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                checkMenu(window);
        }
    }
    connection_.drainSoon();
}

void X11InputState::checkMenu(std::uint32_t window) {
    mappedOverrides_.insert(window);
    xcb_connection_t* c = connection_.xcb();
    // The replies come in the order asked: the type's is in when the process's arrives.
    auto types = std::make_shared<std::vector<std::uint32_t>>();
    connection_.whenReplied<xcb_get_property_reply_t>(
        xcb_get_property(c, 0, window, connection_.atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 0, 16),
        [types](const xcb_get_property_reply_t* reply) {
            if (!reply || reply->format != 32) return;
            const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
            types->assign(items, items + xcb_get_property_value_length(reply) / 4);
        });
    connection_.whenReplied<xcb_get_property_reply_t>(
        xcb_get_property(c, 0, window, connection_.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 0, 1),
        lifetime_.guard([this, window, types](const xcb_get_property_reply_t* pid) {
            if (!mappedOverrides_.contains(window)) return;  // gone meanwhile
            const bool ours =
                pid && pid->format == 32 && xcb_get_property_value_length(pid) == 4 &&
                *static_cast<const std::uint32_t*>(xcb_get_property_value(pid)) == std::uint32_t(getpid());
            const bool menu = std::ranges::any_of(
                *types, [this](std::uint32_t type) { return std::ranges::find(menuTypes_, type) != menuTypes_.end(); });
            if (menu && !ours) menus_.insert(window);
            openMenus_ = int(menus_.size());
        }));
}

Subscription X11InputState::onPress(std::function<void(MouseButtons, std::uint32_t)> handler) {
    return pressed_.connect(std::move(handler));
}

Subscription X11InputState::onKeyPress(std::function<void(std::uint8_t)> handler) {
    if (!watchesPresses()) return {};
    if (!followsKeys_) {
        followsKeys_ = true;
        selectRawEvents();
    }
    Subscription listener = keyPressed_.connect(std::move(handler));
    return Subscription(
        [this, token = lifetime_.token(), listener = std::make_shared<Subscription>(std::move(listener))]() mutable {
            listener->reset();
            if (token.isAlive()) keyListenerGone();
        });
}

void X11InputState::keyListenerGone() {
    if (keyPressed_.connectionCount() > 0 || !followsKeys_) return;
    followsKeys_ = false;
    selectRawEvents();
}

}  // namespace quillbern
