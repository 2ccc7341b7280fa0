#include "linux/x11/X11EventMonitors.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QRectF>
#include <QWindow>
#include <algorithm>
#include <vector>
#include <xcb/xcb.h>

#include "core/platform/KeyEvent.h"
#include "linux/x11/KeyCodeTable.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11InputState.h"
#include "linux/x11/X11Screens.h"
#include "linux/x11/X11UserTime.h"

namespace quillbern {

namespace {

// Window managers nest a client inside a frame or two; menus and panels sit on the root.
constexpr int kMaxWindowDepth = 4;
// The recent presses our own windows took, by server time.
constexpr std::size_t kOwnPressesKept = 8;

// Modifier bits of the core protocol, mapped physically: Super is Command.
EventFlags flagsFromX(std::uint16_t state) {
    EventFlags flags = 0;
    if (state & XCB_MOD_MASK_SHIFT) flags |= kShiftFlag;
    if (state & XCB_MOD_MASK_CONTROL) flags |= kControlFlag;
    if (state & XCB_MOD_MASK_1) flags |= kOptionFlag;
    if (state & XCB_MOD_MASK_4) flags |= kCommandFlag;
    return flags;
}

EventFlags flagsFromQt(Qt::KeyboardModifiers modifiers) {
    return ownWindowFlags(modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
                          modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::MetaModifier));
}

class X11KeyTap final : public KeyTap {
public:
    X11KeyTap(X11InputState& input, std::function<void(const KeyTapEvent&)> handler) {
        presses_ = input.onKeyPress([this, handler = std::move(handler)](std::uint8_t keycode) {
            if (!enabled_) return;
            if (const std::optional<KeyCode> key = keyForXKeycode(keycode))
                handler(KeyTapEvent{KeyTapEvent::Kind::keyDown, *key});
        });
    }
    void setEnabled(bool enabled) override { enabled_ = enabled; }

private:
    bool enabled_ = true;
    Subscription presses_;
};

class LocalPressFilter final : public QObject {
public:
    LocalPressFilter(X11UserTime& userTime, std::function<void(QWindow&, const QMouseEvent&)> onPress)
        : userTime_(userTime), onPress_(std::move(onPress)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Widgets see an event after their window: watching windows counts it once.
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                break;
            default:
                return false;
        }
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window) return false;
        userTime_.note(std::uint32_t(static_cast<const QInputEvent&>(*event).timestamp()));
        if (event->type() == QEvent::MouseButtonPress) onPress_(*window, static_cast<const QMouseEvent&>(*event));
        return false;
    }

private:
    X11UserTime& userTime_;
    std::function<void(QWindow&, const QMouseEvent&)> onPress_;
};

}  // namespace

X11EventMonitors::X11EventMonitors(X11Connection& connection, X11InputState& input, const X11Screens& screens,
                                   PanelOfWindow panelOfWindow, X11UserTime& userTime)
    : connection_(connection), input_(input), screens_(screens), panelOfWindow_(std::move(panelOfWindow)) {
    presses_ = input_.onPress([this](MouseButtons button, std::uint32_t time) {
        if (global_.connectionCount() > 0) globalPress(button, time);
    });
    filter_ = std::make_unique<LocalPressFilter>(userTime, [this](QWindow& window, const QMouseEvent& event) {
        // A press a pop-up grabbed outside itself is no press on it.
        if (QRectF(QPointF(0, 0), window.size()).contains(event.position())) {
            ownPresses_.push_back(std::uint32_t(event.timestamp()));
            if (ownPresses_.size() > kOwnPressesKept) ownPresses_.pop_front();
        }
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

std::unique_ptr<KeyTap> X11EventMonitors::tapKeyDown(std::function<void(const KeyTapEvent&)> handler) {
    if (!input_.watchesPresses()) return nullptr;
    return std::make_unique<X11KeyTap>(input_, std::move(handler));
}

Subscription X11EventMonitors::add(Signal<const MouseDown&>& signal, MouseButtons buttons,
                                   std::function<void(const MouseDown&)> handler) {
    return signal.connect([buttons, handler = std::move(handler)](const MouseDown& press) {
        if (press.button & buttons) handler(press);
    });
}

void X11EventMonitors::globalPress(MouseButtons button, std::uint32_t time) {
    pendingPresses_.push_back({button, time});
    if (!placing_) placeNextPress();
}

void X11EventMonitors::placeNextPress() {
    if (pendingPresses_.empty()) {
        placing_ = false;
        return;
    }
    placing_ = true;
    const auto [button, time] = pendingPresses_.front();
    pendingPresses_.pop_front();
    // Raw events carry no position: ask where the pointer is and what lies under it.
    xcb_connection_t* c = connection_.xcb();
    connection_.whenReplied<xcb_query_pointer_reply_t>(
        xcb_query_pointer(c, connection_.root()),
        lifetime_.guard([this, button, time](const xcb_query_pointer_reply_t* reply) {
            if (!reply) return placeNextPress();
            MouseDown press;
            press.location = screens_.desktopSpace().toScreen(PointTL{double(reply->root_x), double(reply->root_y)});
            press.button = button;
            press.flags = flagsFromX(reply->mask);
            auto own = std::make_shared<std::vector<std::uint32_t>>();
            for (const QWindow* window : QGuiApplication::allWindows()) {
                if (window->handle()) own->push_back(std::uint32_t(window->winId()));
            }
            findOwnWindow(reply->child, 0, std::move(own), [this, press, time](bool isOwn) {
                // Qt may have taken the press, and closed the menu it landed on, before the
                // server was asked what lies under the pointer.
                if (!isOwn && std::ranges::find(ownPresses_, time) == ownPresses_.end()) global_.emit(press);
                placeNextPress();
            });
        }));
}

void X11EventMonitors::findOwnWindow(std::uint32_t window, int depth,
                                     std::shared_ptr<const std::vector<std::uint32_t>> own,
                                     std::function<void(bool)> done) {
    if (window == XCB_WINDOW_NONE || depth >= kMaxWindowDepth) return done(false);
    if (std::find(own->begin(), own->end(), window) != own->end()) return done(true);
    connection_.whenReplied<xcb_query_pointer_reply_t>(
        xcb_query_pointer(connection_.xcb(), window),
        lifetime_.guard([this, depth, own, done](const xcb_query_pointer_reply_t* inner) {
            findOwnWindow(inner ? inner->child : xcb_window_t(XCB_WINDOW_NONE), depth + 1, own, done);
        }));
}

}  // namespace quillbern
