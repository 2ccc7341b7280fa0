#include "linux/x11/X11EventMonitors.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>
#include <algorithm>
#include <vector>
#include <xcb/xcb.h>

#include "linux/x11/X11Connection.h"
#include "linux/x11/X11InputState.h"
#include "linux/x11/X11Screens.h"

namespace quillbern {

namespace {

// Window managers nest a client inside a frame or two; menus and panels sit on the root.
constexpr int kMaxWindowDepth = 4;

// Modifier bits of the core protocol, mapped physically: Super is Command.
EventFlags flagsFromX(std::uint16_t state) {
    EventFlags flags = 0;
    if (state & XCB_MOD_MASK_SHIFT) flags |= kShiftFlag;
    if (state & XCB_MOD_MASK_CONTROL) flags |= kControlFlag;
    if (state & XCB_MOD_MASK_1) flags |= kOptionFlag;
    if (state & XCB_MOD_MASK_4) flags |= kCommandFlag;
    return flags;
}

// Inside our own windows Command is Ctrl.
EventFlags flagsFromQt(Qt::KeyboardModifiers modifiers) {
    EventFlags flags = 0;
    if (modifiers & Qt::ShiftModifier) flags |= kShiftFlag;
    if (modifiers & Qt::MetaModifier) flags |= kControlFlag;
    if (modifiers & Qt::AltModifier) flags |= kOptionFlag;
    if (modifiers & Qt::ControlModifier) flags |= kCommandFlag;
    return flags;
}

class LocalPressFilter final : public QObject {
public:
    explicit LocalPressFilter(std::function<void(QWindow&, const QMouseEvent&)> onPress)
        : onPress_(std::move(onPress)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Widgets see the press after their window: watching windows counts it once.
        if (event->type() == QEvent::MouseButtonPress) {
            if (auto* window = qobject_cast<QWindow*>(watched))
                onPress_(*window, static_cast<const QMouseEvent&>(*event));
        }
        return false;
    }

private:
    std::function<void(QWindow&, const QMouseEvent&)> onPress_;
};

}  // namespace

X11EventMonitors::X11EventMonitors(X11Connection& connection, X11InputState& input, const X11Screens& screens,
                                   PanelOfWindow panelOfWindow)
    : connection_(connection), input_(input), screens_(screens), panelOfWindow_(std::move(panelOfWindow)) {
    presses_ = input_.onPress([this](MouseButtons button) {
        if (global_.connectionCount() > 0) globalPress(button);
    });
    filter_ = std::make_unique<LocalPressFilter>([this](QWindow& window, const QMouseEvent& event) {
        if (local_.connectionCount() == 0) return;
        MouseDown press;
        press.button = event.button() == Qt::LeftButton    ? kLeftButton
                       : event.button() == Qt::RightButton ? kRightButton
                                                           : kOtherButton;
        const QPointF global = event.globalPosition();
        press.location = screens_.desktopSpace().toScreen(PointTL{global.x(), global.y()});
        press.flags = flagsFromQt(event.modifiers());
        if (panelOfWindow_ && window.handle()) press.ownPanel = panelOfWindow_(std::uint32_t(window.winId()));
        local_.emit(press);
    });
    QCoreApplication::instance()->installEventFilter(filter_.get());
}

X11EventMonitors::~X11EventMonitors() = default;

Subscription X11EventMonitors::onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) {
    if (!input_.watchesPresses()) return {};
    return add(global_, buttons, std::move(handler));
}

Subscription X11EventMonitors::onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) {
    return add(local_, buttons, std::move(handler));
}

Subscription X11EventMonitors::add(Signal<const MouseDown&>& signal, MouseButtons buttons,
                                   std::function<void(const MouseDown&)> handler) {
    return signal.connect([buttons, handler = std::move(handler)](const MouseDown& press) {
        if (press.button & buttons) handler(press);
    });
}

void X11EventMonitors::globalPress(MouseButtons button) {
    // Raw events carry no position: ask where the pointer is and what lies under it.
    xcb_connection_t* c = connection_.xcb();
    const XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, connection_.root()), nullptr));
    if (!reply) {
        connection_.drainSoon();
        return;
    }
    const bool own = isOwnWindowUnderPointer(reply->child);
    connection_.drainSoon();
    if (own) return;
    MouseDown press;
    press.location = screens_.desktopSpace().toScreen(PointTL{double(reply->root_x), double(reply->root_y)});
    press.button = button;
    press.flags = flagsFromX(reply->mask);
    global_.emit(press);
}

bool X11EventMonitors::isOwnWindowUnderPointer(std::uint32_t topLevel) const {
    std::vector<std::uint32_t> own;
    for (const QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle()) own.push_back(std::uint32_t(window->winId()));
    }
    xcb_connection_t* c = connection_.xcb();
    xcb_window_t window = topLevel;
    for (int depth = 0; window != XCB_WINDOW_NONE && depth < kMaxWindowDepth; ++depth) {
        if (std::find(own.begin(), own.end(), window) != own.end()) return true;
        const XcbReply<xcb_query_pointer_reply_t> inner(
            xcb_query_pointer_reply(c, xcb_query_pointer(c, window), nullptr));
        window = inner ? inner->child : xcb_window_t(XCB_WINDOW_NONE);
    }
    return false;
}

}  // namespace quillbern
