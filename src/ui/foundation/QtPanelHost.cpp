#include "ui/foundation/QtPanelHost.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <xcb/xcb.h>

#include "core/foundation/Log.h"
#include "core/platform/FrameClock.h"
#include "core/platform/PanelAnimator.h"
#include "core/platform/PanelStack.h"
#include "core/platform/SystemAppearance.h"
#include "ui/foundation/FloatingPanel.h"
#include "ui/foundation/OverviewPanel.h"
#include "ui/foundation/QtX11.h"
#include "ui/foundation/UnmanagedStacking.h"
#include "ui/foundation/XServerAnswer.h"

namespace quillbern {

struct QtPanelHost::Shared {
    std::function<DesktopSpace()> desktopSpace;
    SystemAppearance* system = nullptr;
    // Once per run: the veil needs a compositing manager to dim.
    bool toldVeilDimsOnlyComposited = false;
    std::map<std::uint64_t, QPointer<FloatingPanel>> windows;
    PanelStack stack;
    // Shared by the panels, whose repaints wait for it off the loop; none without X.
    std::shared_ptr<XServerAnswer> answers;
};

namespace {

// The child of the root that holds the window: its window manager's frame, if it has one.
xcb_window_t rootChildOf(xcb_connection_t* c, xcb_window_t window) {
    for (int depth = 0; depth < 8; ++depth) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
        const bool atRoot = !tree || tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE;
        if (!atRoot) window = tree->parent;
        std::free(tree);
        if (atRoot) break;
    }
    return window;
}

// The root's children, bottom to top, as the server stacks them.
std::vector<StackedWindow> rootStacking(xcb_connection_t* c) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    for (int i = 0; i < count; ++i)
        cookies.push_back(xcb_get_window_attributes(c, children[i]));
    std::vector<StackedWindow> stacking;
    for (int i = 0; i < count; ++i) {
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(c, cookies[i], nullptr);
        if (attributes) {
            stacking.push_back({children[i], attributes->map_state == XCB_MAP_STATE_VIEWABLE,
                                attributes->override_redirect != 0, StackedWindow::Owner::other});
        }
        std::free(attributes);
    }
    std::free(tree);
    return stacking;
}

// The window manager stacks our managed panels by their levels; the unmanaged ones, which
// it leaves alone, are placed here over the windows it manages.
void placeUnmanagedPanels(const QtPanelHost::Shared& shared);

QRect desktopRect(const RectTL& r) {
    const int x = int(std::lround(r.x));
    const int y = int(std::lround(r.y));
    return QRect(x, y, int(std::lround(r.maxX())) - x, int(std::lround(r.maxY())) - y);
}

// A window manager's frame would catch the clicks a click-through panel lets through, so
// such panels stay out of management; but one that keeps those over all it manages would
// hold a veil over our docks: there the panels below the docks' level are managed, typed
// as docks, which take no frame.
bool staysUnmanaged(const PanelStyle& style) {
    if (!style.ignoresMouse) return false;
    return style.level >= PanelLevel::dock || !keepsUnmanagedOnTop(windowManagerName());
}

FloatingPanel* makeWindow(const PanelStyle& style, PanelContent content, const KeyboardLayout& layout) {
    if (!style.takesKeyFocus) return new FloatingPanel(style, std::move(content), staysUnmanaged(style));
    if (style.withoutKeyEquivalents) return new OverviewPanel(style, std::move(content), layout);
    return new SearchPanel(style, std::move(content), layout);
}

class QtPanel final : public Panel {
public:
    QtPanel(std::shared_ptr<QtPanelHost::Shared> shared, std::uint64_t serial, const PanelStyle& style, RectBL frame,
            PanelContent content, FrameClock& frames, bool canBlend, const KeyboardLayout& layout)
        : shared_(std::move(shared)),
          serial_(serial),
          level_(style.level),
          window_(makeWindow(style, std::move(content), layout)),
          clickThrough_(style.ignoresMouse),
          restacksBelowOurs_(style.ignoresMouse && !window_->isUnmanaged()),
          animator_(frames, [this](std::optional<double> alpha, std::optional<RectBL> frame) {
              if (alpha) applyAlpha(*alpha);
              if (frame) applyFrame(*frame);
          }) {
        shared_->windows[serial_] = window_;
        window_->setCanBlend(canBlend);
        if (shared_->answers) window_->paintWhenServerAnswers(shared_->answers);
        applyFrame(frame);
    }

    ~QtPanel() override {
        shared_->windows.erase(serial_);
        shared_->stack.remove(serial_);
        // Later, not now: this may run inside one of the window's own handlers. Meanwhile
        // it paints without waiting on the host's loop, which may go first.
        if (window_) {
            window_->hide();
            window_->paintWhenServerAnswers(nullptr);
            window_->deleteLater();
        }
    }

    std::uint64_t serial() const override { return serial_; }
    RectBL frame() const override { return frame_; }
    void setFrame(RectBL frame) override {
        animator_.releaseFrame();
        stage_.reset();
        applyFrame(frame);
    }
    double alpha() const override { return alpha_; }
    void setAlpha(double alpha) override {
        animator_.releaseAlpha();
        applyAlpha(alpha);
    }
    void animate(Animation animation, std::optional<double> alpha, std::optional<RectBL> frame, Task onDone) override {
        if (frame) takeStage(*frame);
        animator_.start(animation, alpha_, frame_, alpha, frame, std::move(onDone));
    }
    void orderFront() override {
        if (window_ && window_->showsVeil() && !shared_->system->hasCompositor() &&
            !shared_->toldVeilDimsOnlyComposited) {
            shared_->toldVeilDimsOnlyComposited = true;
            log("no compositing manager runs, so the veil shows only its ring around the window and dims nothing "
                "else; with one running (xcompmgr or picom, for instance) it dims the rest of the screen");
        }
        shared_->stack.orderFront(serial_, level_);
        if (window_ && !window_->isVisible()) window_->show();
        // Raising the panel and then everything above it restores our order among the
        // managed panels.
        const std::vector<std::uint64_t> upward = shared_->stack.fromPanelUp(serial_);
        for (const std::uint64_t serial : upward) {
            if (FloatingPanel* w = windowOf(serial); w && !w->isUnmanaged()) w->raise();
        }
        if (restacksBelowOurs_) restackBelowOurs(upward);
        placeUnmanagedPanels(*shared_);
    }
    void orderOut() override {
        shared_->stack.remove(serial_);
        if (window_) window_->hide();
    }
    bool isVisible() const override { return window_ && window_->isVisible(); }
    void setContent(PanelContent content) override {
        if (window_) window_->setContent(std::move(content));
    }
    void setCommandClickHandler(Task handler) override {
        if (window_) window_->setCommandClickHandler(std::move(handler));
    }
    void makeKeyAndOrderFront() override {
        orderFront();
        if (SearchPanel* keyed = searchPanel()) keyed->makeKey();
    }
    bool isKey() const override { return window_ && window_->isActiveWindow(); }
    void setKeyHandlers(PanelKeyHandlers handlers) override {
        if (SearchPanel* keyed = searchPanel()) keyed->setKeyHandlers(std::move(handlers));
    }
    void setVeil(std::optional<RectBL> hole, double intensity) override {
        if (window_) window_->setVeil(hole, intensity);
    }
    void clearVeilEffects() override {
        if (window_) window_->clearVeilEffects();
    }

private:
    SearchPanel* searchPanel() const { return qobject_cast<SearchPanel*>(window_.data()); }
    FloatingPanel* windowOf(std::uint64_t serial) const {
        const auto it = shared_->windows.find(serial);
        return it == shared_->windows.end() ? nullptr : it->second.data();
    }
    // Where click-through panels are managed, the window manager ignores the raises of an
    // application that is not active and maps a window over all of its layer: the panel
    // goes right below the lowest, as the server stacks them, of our managed panels above.
    void restackBelowOurs(const std::vector<std::uint64_t>& upward) const {
        xcb_connection_t* c = qtX11Connection();
        if (!c || !window_) return;
        std::map<xcb_window_t, FloatingPanel*> above;
        for (const std::uint64_t serial : upward) {
            FloatingPanel* w = serial == serial_ ? nullptr : windowOf(serial);
            if (w && !w->isUnmanaged()) above.emplace(rootChildOf(c, static_cast<xcb_window_t>(w->winId())), w);
        }
        for (const StackedWindow& entry : rootStacking(c)) {
            if (const auto found = above.find(entry.id); found != above.end()) {
                restackBelow(*window_, *found->second);
                return;
            }
        }
    }
    QRect windowRect(RectBL frame) const { return desktopRect(shared_->desktopSpace().toDesktop(frame)); }
    // A click-through panel that grows or shrinks in place keeps its window at the larger
    // frame, and its content follows the steps within it: a resize of the window costs
    // several round trips to the server and a repaint of all of it, at every frame.
    void takeStage(RectBL to) {
        stage_.reset();
        if (!clickThrough_ || !window_ || !window_->hasContentView()) return;
        const QRect from = windowRect(frame_);
        const QRect target = windowRect(to);
        if (from.contains(target)) {
            stage_ = from;
        } else if (target.contains(from)) {
            stage_ = target;
        } else {
            return;
        }
        applyFrame(frame_);
    }
    void applyFrame(RectBL frame) {
        frame_ = frame;
        if (!window_) return;
        const QRect rect = windowRect(frame);
        if (stage_ && !stage_->contains(rect)) stage_.reset();
        const QRect windowAt = stage_.value_or(rect);
        window_->setGeometry(windowAt);
        window_->setContentMargins(QMargins(rect.left() - windowAt.left(), rect.top() - windowAt.top(),
                                            windowAt.right() - rect.right(), windowAt.bottom() - rect.bottom()));
    }
    void applyAlpha(double alpha) {
        alpha_ = alpha;
        if (window_) window_->setWindowOpacity(alpha);
    }

    std::shared_ptr<QtPanelHost::Shared> shared_;
    std::uint64_t serial_;
    PanelLevel level_;
    QPointer<FloatingPanel> window_;
    bool clickThrough_;
    // Where the window stands while the frame grows or shrinks within it.
    std::optional<QRect> stage_;
    // A click-through panel the window manager stacks: put below our panels above it.
    bool restacksBelowOurs_;
    RectBL frame_;
    double alpha_ = 1;
    PanelAnimator animator_;
};

void placeUnmanagedPanels(const QtPanelHost::Shared& shared) {
    struct Shown {
        FloatingPanel* window;
        xcb_window_t top;
    };
    std::vector<Shown> shown;
    bool anyUnmanaged = false;
    for (const std::uint64_t serial : shared.stack.bottomToTop()) {
        const auto found = shared.windows.find(serial);
        FloatingPanel* w = found == shared.windows.end() ? nullptr : found->second.data();
        if (!w || !w->isVisible()) continue;
        shown.push_back({w, XCB_WINDOW_NONE});
        anyUnmanaged = anyUnmanaged || w->isUnmanaged();
    }
    xcb_connection_t* c = qtX11Connection();
    if (!c || !anyUnmanaged) return;
    for (Shown& panel : shown)
        panel.top = rootChildOf(c, static_cast<xcb_window_t>(panel.window->winId()));
    for (const Shown& panel : shown) {
        if (!panel.window->isUnmanaged()) continue;
        std::vector<StackedWindow> stacking = rootStacking(c);
        for (StackedWindow& entry : stacking) {
            for (const Shown& ours : shown) {
                if (ours.top != entry.id) continue;
                entry.owner = ours.window->level() > panel.window->level() ? StackedWindow::Owner::usAbove
                                                                           : StackedWindow::Owner::us;
            }
        }
        if (const std::optional<StackTarget> target = unmanagedPlacement(stacking)) {
            const std::uint32_t values[] = {target->sibling,
                                            target->above ? XCB_STACK_MODE_ABOVE : XCB_STACK_MODE_BELOW};
            xcb_configure_window(c, panel.top, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
        } else {
            const std::uint32_t values[] = {XCB_STACK_MODE_ABOVE};
            xcb_configure_window(c, panel.top, XCB_CONFIG_WINDOW_STACK_MODE, values);
        }
    }
    xcb_flush(c);
}

}  // namespace

QtPanelHost::QtPanelHost(FrameClock& frames, std::function<DesktopSpace()> desktopSpace, SystemAppearance& system,
                         const KeyboardLayout& layout, const std::function<Subscription(Task)>& restacks)
    : frames_(frames), system_(system), layout_(layout), shared_(std::make_shared<Shared>()) {
    if (restacks) restackObserver_ = restacks([shared = shared_] { placeUnmanagedPanels(*shared); });
    shared_->desktopSpace = std::move(desktopSpace);
    shared_->system = &system_;
    if (qtX11Connection()) {
        shared_->answers = std::make_shared<XServerAnswer>(frames_.loop(), frames_.clock());
        // While the server reads nothing of ours, no frame runs, and the loop sleeps but for
        // the looks at the socket.
        frames_.setPacer([answers = shared_->answers](Task frame) { answers->whenAllRead(std::move(frame)); });
    }
    // A compositing manager started or stopped while panels are open.
    systemObserver_ = system_.onChanged([this] {
        const bool canBlend = system_.hasCompositor();
        for (const auto& [serial, window] : shared_->windows) {
            if (window) window->setCanBlend(canBlend);
        }
    });
}

QtPanelHost::~QtPanelHost() {
    if (shared_->answers) frames_.setPacer({});
}

std::unique_ptr<Panel> QtPanelHost::createPanel(const PanelStyle& style, RectBL frame, PanelContent content) {
    return std::make_unique<QtPanel>(shared_, ++lastSerial_, style, frame, std::move(content), frames_,
                                     system_.hasCompositor(), layout_);
}

std::vector<OwnWindow> QtPanelHost::ownWindows() const {
    // Front to back by our own record of the shown panels' stacking (PanelStack), not by the
    // server's, which would mean waiting for it: the window manager keeps our managed panels
    // in that order and we place the unmanaged ones so. Every other window of ours follows in
    // Qt's order: ordinary windows stand below the panels, which stay on top, and menus and
    // tooltips, which may stand higher, are neither docks nor titled.
    const DesktopSpace space = shared_->desktopSpace();
    std::vector<OwnWindow> windows;
    std::vector<const QWidget*> listed;
    const auto add = [&](QWidget* widget, std::uint64_t serial) {
        OwnWindow own;
        own.serial = serial;
        own.isVisible = widget->isVisible();
        const QRect frame = widget->frameGeometry();
        own.frame =
            space.toScreen(RectTL{double(frame.x()), double(frame.y()), double(frame.width()), double(frame.height())});
        // Menus and tooltips are top-level too, but have no title bar.
        const Qt::WindowType type = widget->windowType();
        own.isTitled =
            (type == Qt::Window || type == Qt::Dialog) && !widget->windowFlags().testFlag(Qt::FramelessWindowHint);
        own.hasFocus = widget->isActiveWindow();
        if (const auto* panel = qobject_cast<const FloatingPanel*>(widget); panel && serial != 0) {
            own.level = panel->level();
            own.isDockPanel = panel->isDockPanel();
        }
        windows.push_back(own);
        listed.push_back(widget);
    };
    const std::vector<std::uint64_t> stacked = shared_->stack.bottomToTop();
    for (auto serial = stacked.rbegin(); serial != stacked.rend(); ++serial) {
        const auto found = shared_->windows.find(*serial);
        if (found != shared_->windows.end() && found->second) add(found->second.data(), *serial);
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (std::ranges::find(listed, widget) != listed.end()) continue;
        std::uint64_t serial = 0;
        for (const auto& [panelSerial, panel] : shared_->windows) {
            if (panel.data() == widget) serial = panelSerial;
        }
        add(widget, serial);
    }
    return windows;
}

std::optional<std::uint64_t> QtPanelHost::panelOfWindow(std::uint32_t window) const {
    for (const auto& [serial, panel] : shared_->windows) {
        if (panel && panel->windowHandle() && std::uint32_t(panel->winId()) == window) return serial;
    }
    // A menu a panel opened counts as that panel: choosing in it is no click outside.
    for (QWindow* shown : QGuiApplication::topLevelWindows()) {
        if (shown->handle() && std::uint32_t(shown->winId()) == window && shown->transientParent())
            return panelOfWindow(std::uint32_t(shown->transientParent()->winId()));
    }
    return std::nullopt;
}

QWidget* QtPanelHost::windowOf(const Panel& panel) const {
    const auto found = shared_->windows.find(panel.serial());
    return found == shared_->windows.end() ? nullptr : found->second.data();
}

}  // namespace quillbern
