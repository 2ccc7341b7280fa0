#include "ui/foundation/FloatingPanel.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QWindow>
#include <array>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <xcb/xcb.h>

#include "ui/foundation/OutlinedView.h"
#include "ui/foundation/PanelWidget.h"
#include "ui/foundation/QtX11.h"
#include "ui/foundation/VeilView.h"
#include "ui/foundation/XServerAnswer.h"
#include "xcb/WindowManagerMessage.h"

namespace quillbern {

namespace {

struct PanelAtoms {
    xcb_atom_t type, dock, state, skipTaskbar, skipPager, sticky, above, desktop, activeWindow;
};

// Interned once: every reveal maps a panel again.
const PanelAtoms& panelAtoms(xcb_connection_t* c) {
    static const PanelAtoms atoms = [c] {
        constexpr std::string_view kNames[] = {
            "_NET_WM_WINDOW_TYPE",        "_NET_WM_WINDOW_TYPE_DOCK", "_NET_WM_STATE",
            "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_STICKY",
            "_NET_WM_STATE_ABOVE",        "_NET_WM_DESKTOP",          "_NET_ACTIVE_WINDOW"};
        xcb_intern_atom_cookie_t cookies[std::size(kNames)];
        for (std::size_t i = 0; i < std::size(kNames); ++i)
            cookies[i] = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(kNames[i].size()), kNames[i].data());
        xcb_atom_t values[std::size(kNames)];
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookies[i], nullptr);
            values[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            std::free(reply);
        }
        return PanelAtoms{values[0], values[1], values[2], values[3], values[4],
                          values[5], values[6], values[7], values[8]};
    }();
    return atoms;
}

constexpr std::uint32_t kAllDesktops = 0xFFFFFFFFu;
// The source indication of requests made on the user's behalf by a pager or taskbar.
constexpr std::uint32_t kPager = 2;

xcb_window_t rootOf(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// The view that shows a panel's content, as a child of the panel; none for a plain fill,
// which the panel paints itself.
QWidget* makeContentView(const PanelContent& content, QWidget* panel) {
    const auto* view = std::get_if<std::shared_ptr<PanelView>>(&content);
    const auto* widget = view ? dynamic_cast<const PanelWidget*>(view->get()) : nullptr;
    return widget ? widget->widgetIn(panel) : nullptr;
}

}  // namespace

FloatingPanel::FloatingPanel(const PanelStyle& style, PanelContent content, bool unmanaged)
    : content_(std::move(content)),
      unmanaged_(unmanaged),
      takesKeyFocus_(style.takesKeyFocus),
      level_(style.level),
      dockPanel_(style.isDockPanel) {
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (!takesKeyFocus_) flags |= Qt::WindowDoesNotAcceptFocus;
    if (style.ignoresMouse) flags |= Qt::WindowTransparentForInput;
    if (unmanaged_) flags |= Qt::X11BypassWindowManagerHint;
    setWindowFlags(flags);
    if (!takesKeyFocus_) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        // Qt shows tooltips only in the active window, which this one never becomes.
        setAttribute(Qt::WA_AlwaysShowToolTips);
    }
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    contentView_ = makeContentView(content_, this);
    if (contentView_) {
        layout->addWidget(contentView_);
        contentView_->installEventFilter(this);
    }
    winId();
    nativeWindowMade();
}

FloatingPanel::~FloatingPanel() = default;

void FloatingPanel::setContent(PanelContent content) {
    content_ = std::move(content);
    delete contentView_;
    contentView_ = makeContentView(content_, this);
    if (contentView_) {
        layout()->addWidget(contentView_);
        contentView_->installEventFilter(this);
        contentView_->show();
    }
    refreshShape();
    update();
}

void FloatingPanel::setVeil(const std::optional<RectBL>& hole, double intensity) {
    if (auto* veil = dynamic_cast<VeilView*>(contentView_)) veil->setVeil(hole, intensity);
}

void FloatingPanel::clearVeilEffects() {
    if (auto* veil = dynamic_cast<VeilView*>(contentView_)) veil->clearEffects();
}

bool FloatingPanel::showsVeil() const {
    return dynamic_cast<const VeilView*>(contentView_) != nullptr;
}

void FloatingPanel::setContentMargins(const QMargins& margins) {
    if (layout()->contentsMargins() != margins) layout()->setContentsMargins(margins);
}

void FloatingPanel::setCanBlend(bool canBlend) {
    if (canBlend == canBlend_) return;
    canBlend_ = canBlend;
    refreshShape();
    // The views draw opaque where nothing blends.
    update();
}

void FloatingPanel::refreshShape() {
    const auto* outlined = dynamic_cast<const OutlinedView*>(contentView_);
    if (canBlend_ || !outlined) {
        clearMask();
        return;
    }
    const QPainterPath outline = outlined->outline().translated(contentView_->pos());
    setMask(outlineRegion(outline));
}

void FloatingPanel::paintWhenServerAnswers(std::shared_ptr<XServerAnswer> answers) {
    answers_ = std::move(answers);
}

bool FloatingPanel::holdRepaint() {
    if (!answers_ || std::exchange(answered_, false) || answers_->hasJustAnswered()) return false;
    if (!awaitingAnswer_) {
        awaitingAnswer_ = true;
        answers_->whenAnswered(lifetime_.guard([this] {
            awaitingAnswer_ = false;
            answered_ = true;
            // At once: the later the paint, the more likely the server is busy again.
            QEvent repaint(QEvent::UpdateRequest);
            QCoreApplication::sendEvent(this, &repaint);
        }));
    }
    // Qt asks for no other repaint until it has painted what this one covers.
    return true;
}

bool FloatingPanel::event(QEvent* event) {
    if (event->type() == QEvent::UpdateRequest && holdRepaint()) return true;
    if (event->type() == outlineChangeEventType()) {
        refreshShape();
        return true;
    }
    switch (event->type()) {
        case QEvent::WinIdChange:
            nativeWindowMade();
            break;
        case QEvent::Show:
            // Sent before Qt maps the window. The window manager drops the states and the
            // desktop when the panel is withdrawn, and Qt writes back only its own states.
            if (!event->spontaneous()) applyWindowHints();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void FloatingPanel::nativeWindowMade() {
    applyWindowHints();
    if (!takesKeyFocus_) withdrawFocusOffer(*this);
    watchWindow();
}

void FloatingPanel::watchWindow() {
    if (QWindow* window = windowHandle()) window->installEventFilter(this);
}

bool FloatingPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == contentView_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) refreshShape();
    if (watched != windowHandle()) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // Inside our program Command is Ctrl. Taken at the window, before Qt hands the
            // press to the child under the pointer.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (!commandClick_ || !mouse->modifiers().testFlag(Qt::ControlModifier)) return false;
            takingCommandClick_ = true;
            if (event->type() == QEvent::MouseButtonPress) {
                const Task handler = commandClick_;  // the handler may close this panel
                handler();
            }
            return true;
        }
        case QEvent::Expose: {
            // A panel hidden and shown again quickly can be mapped before the window
            // manager has finished withdrawing it, which then drops the hints set before the
            // map: once it shows, ask for them as for any mapped window.
            const bool exposed = windowHandle()->isExposed();
            if (exposed && !wasExposed_) reassertWindowHints();
            wasExposed_ = exposed;
            return false;
        }
        case QEvent::MouseMove:
            return takingCommandClick_;
        case QEvent::MouseButtonRelease:
            if (!takingCommandClick_) return false;
            // The rest of the click belongs to the hook too.
            if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) takingCommandClick_ = false;
            return true;
        default:
            return false;
    }
}

void FloatingPanel::applyWindowHints() {
    xcb_connection_t* c = qtX11Connection();
    if (!c) return;
    const PanelAtoms& a = panelAtoms(c);
    const auto window = static_cast<xcb_window_t>(winId());
    const std::uint32_t states[] = {a.skipTaskbar, a.skipPager, a.sticky, a.above};
    // A dock is never focused: a key-taking panel keeps the type Qt gives a tool window.
    if (!takesKeyFocus_) xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, a.type, XCB_ATOM_ATOM, 32, 1, &a.dock);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, a.state, XCB_ATOM_ATOM, 32, std::size(states), states);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, a.desktop, XCB_ATOM_CARDINAL, 32, 1, &kAllDesktops);
    xcb_flush(c);
}

void FloatingPanel::reassertWindowHints() {
    xcb_connection_t* c = qtX11Connection();
    if (!c || unmanaged_) return;
    const PanelAtoms& a = panelAtoms(c);
    const auto window = static_cast<xcb_window_t>(winId());
    // Action "add", source "pager"; a manager that already applied them changes nothing.
    constexpr std::uint32_t kAdd = 1;
    const xcb_window_t root = rootOf(c);
    sendToWindowManager(c, root, window, a.state, {kAdd, a.skipTaskbar, a.skipPager, kPager, 0});
    sendToWindowManager(c, root, window, a.state, {kAdd, a.sticky, a.above, kPager, 0});
    sendToWindowManager(c, root, window, a.desktop, {kAllDesktops, kPager, 0, 0, 0});
}

void FloatingPanel::requestActivation() {
    // Qt's own request is all the offscreen platform has; on X11 it carries the time of the
    // last event Qt's connection saw, older than the hot key that arrived on ours, so a
    // window manager may refuse it as focus stealing.
    activateWindow();
    xcb_connection_t* c = qtX11Connection();
    if (!c || unmanaged_) return;
    sendToWindowManager(c, rootOf(c), static_cast<xcb_window_t>(winId()), panelAtoms(c).activeWindow,
                        {kPager, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0});
}

void FloatingPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (const auto* fill = std::get_if<PlainFill>(&content_)) {
        const Color& c = fill->color;
        painter.fillRect(rect(), QColor::fromRgbF(float(c.r), float(c.g), float(c.b), float(c.a)));
    }
}

}  // namespace quillbern
