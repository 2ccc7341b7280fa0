#include "ui/foundation/FloatingPanel.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <cstdlib>
#include <string_view>
#include <vector>
#include <xcb/xcb.h>

#include "ui/foundation/PanelViews.h"

namespace quillbern {

namespace {

xcb_atom_t intern(xcb_connection_t* c, std::string_view name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

void setAtoms(xcb_connection_t* c, xcb_window_t window, std::string_view property, xcb_atom_t type,
              const std::vector<std::uint32_t>& values) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, intern(c, property), type, 32,
                        static_cast<std::uint32_t>(values.size()), values.data());
}

}  // namespace

FloatingPanel::FloatingPanel(const PanelStyle& style, PanelContent content) : content_(std::move(content)) {
    Qt::WindowFlags flags =
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    // A window manager's frame would still catch the clicks: overlays that let them
    // through stay out of management.
    unmanaged_ = style.ignoresMouse;
    if (unmanaged_) flags |= Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint;
    setWindowFlags(flags);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    contentView_ = makeContentView(content_, this);
    if (contentView_) layout->addWidget(contentView_);
    winId();
    applyWindowHints();
}

FloatingPanel::~FloatingPanel() = default;

void FloatingPanel::setContent(PanelContent content) {
    content_ = std::move(content);
    delete contentView_;
    contentView_ = makeContentView(content_, this);
    if (contentView_) {
        layout()->addWidget(contentView_);
        contentView_->show();
    }
    update();
}

bool FloatingPanel::event(QEvent* event) {
    if (event->type() == QEvent::WinIdChange) applyWindowHints();
    return QWidget::event(event);
}

void FloatingPanel::applyWindowHints() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return;  // another platform (the offscreen one in view tests)
    xcb_connection_t* c = x11->connection();
    const auto window = static_cast<xcb_window_t>(winId());
    setAtoms(c, window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {intern(c, "_NET_WM_WINDOW_TYPE_DOCK")});
    setAtoms(c, window, "_NET_WM_STATE", XCB_ATOM_ATOM,
             {intern(c, "_NET_WM_STATE_SKIP_TASKBAR"), intern(c, "_NET_WM_STATE_SKIP_PAGER"),
              intern(c, "_NET_WM_STATE_STICKY"), intern(c, "_NET_WM_STATE_ABOVE")});
    setAtoms(c, window, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL, {0xFFFFFFFFu});
    xcb_flush(c);
}

void FloatingPanel::stackBelow(const FloatingPanel& other) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !unmanaged_ || !windowHandle() || !other.windowHandle()) return;
    xcb_connection_t* c = x11->connection();
    // A managed panel stands inside its window manager's frame: stack against the frame.
    auto sibling = static_cast<xcb_window_t>(other.winId());
    for (int depth = 0; depth < 4; ++depth) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, sibling), nullptr);
        const bool atRoot = !tree || tree->parent == tree->root;
        if (!atRoot) sibling = tree->parent;
        std::free(tree);
        if (atRoot) break;
    }
    const std::uint32_t values[] = {sibling, XCB_STACK_MODE_BELOW};
    xcb_configure_window(c, static_cast<xcb_window_t>(winId()),
                         XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
    xcb_flush(c);
}

void FloatingPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (const auto* fill = std::get_if<PlainFill>(&content_)) {
        const Color& c = fill->color;
        painter.fillRect(rect(), QColor::fromRgbF(float(c.r), float(c.g), float(c.b), float(c.a)));
    }
}

void FloatingPanel::mousePressEvent(QMouseEvent* event) {
    // Inside our program Command is Ctrl.
    if (event->modifiers().testFlag(Qt::ControlModifier) && commandClick_) {
        const Task handler = commandClick_;  // the handler may close this panel
        handler();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

}  // namespace quillbern
