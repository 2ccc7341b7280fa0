#include "ui/foundation/QtPanelHost.h"

#include <QPointer>
#include <cmath>

#include "core/platform/PanelAnimator.h"
#include "core/platform/PanelStack.h"
#include "core/platform/SystemAppearance.h"
#include "ui/foundation/FloatingPanel.h"
#include "ui/palettes/SearchPanel.h"

namespace quillbern {

struct QtPanelHost::Shared {
    std::function<DesktopSpace()> desktopSpace;
    std::map<std::uint64_t, QPointer<FloatingPanel>> windows;
    PanelStack stack;
};

namespace {

QRect desktopRect(const RectTL& r) {
    const int x = int(std::lround(r.x));
    const int y = int(std::lround(r.y));
    return QRect(x, y, int(std::lround(r.maxX())) - x, int(std::lround(r.maxY())) - y);
}

class QtPanel final : public Panel {
public:
    QtPanel(std::shared_ptr<QtPanelHost::Shared> shared, std::uint64_t serial, const PanelStyle& style, RectBL frame,
            PanelContent content, RunLoop& loop, const Clock& clock, bool canBlend, const KeyboardLayout& layout)
        : shared_(std::move(shared)),
          serial_(serial),
          level_(style.level),
          window_(style.takesKeyFocus ? new SearchPanel(style, std::move(content), layout)
                                      : new FloatingPanel(style, std::move(content))),
          animator_(loop, clock, [this](std::optional<double> alpha, std::optional<RectBL> frame) {
              if (alpha) applyAlpha(*alpha);
              if (frame) applyFrame(*frame);
          }) {
        shared_->windows[serial_] = window_;
        window_->setCanBlend(canBlend);
        applyFrame(frame);
    }

    ~QtPanel() override {
        shared_->windows.erase(serial_);
        shared_->stack.remove(serial_);
        // Later, not now: this may run inside one of the window's own handlers.
        if (window_) {
            window_->hide();
            window_->deleteLater();
        }
    }

    std::uint64_t serial() const override { return serial_; }
    RectBL frame() const override { return frame_; }
    void setFrame(RectBL frame) override {
        animator_.releaseFrame();
        applyFrame(frame);
    }
    double alpha() const override { return alpha_; }
    void setAlpha(double alpha) override {
        animator_.releaseAlpha();
        applyAlpha(alpha);
    }
    void animate(Animation animation, std::optional<double> alpha, std::optional<RectBL> frame, Task onDone) override {
        animator_.start(animation, alpha_, frame_, alpha, frame, std::move(onDone));
    }
    void orderFront() override {
        shared_->stack.orderFront(serial_, level_);
        if (window_ && !window_->isVisible()) window_->show();
        // Raising the panel and then everything above it restores our order among
        // managed panels; an unmanaged one goes right below the next managed one above it.
        const std::vector<std::uint64_t> upwards = shared_->stack.fromPanelUp(serial_);
        for (const std::uint64_t serial : upwards) {
            if (FloatingPanel* w = windowOf(serial)) w->raise();
        }
        for (auto it = upwards.begin(); it != upwards.end(); ++it) {
            FloatingPanel* w = windowOf(*it);
            if (!w || !w->isUnmanaged()) continue;
            for (auto above = std::next(it); above != upwards.end(); ++above) {
                if (FloatingPanel* m = windowOf(*above); m && !m->isUnmanaged()) {
                    w->stackBelow(*m);
                    break;
                }
            }
        }
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
    void applyFrame(RectBL frame) {
        frame_ = frame;
        if (window_) window_->setGeometry(desktopRect(shared_->desktopSpace().toDesktop(frame)));
    }
    void applyAlpha(double alpha) {
        alpha_ = alpha;
        if (window_) window_->setWindowOpacity(alpha);
    }

    std::shared_ptr<QtPanelHost::Shared> shared_;
    std::uint64_t serial_;
    PanelLevel level_;
    QPointer<FloatingPanel> window_;
    RectBL frame_;
    double alpha_ = 1;
    PanelAnimator animator_;
};

}  // namespace

QtPanelHost::QtPanelHost(RunLoop& mainLoop, const Clock& clock, std::function<DesktopSpace()> desktopSpace,
                         SystemAppearance& system, const KeyboardLayout& layout)
    : loop_(mainLoop), clock_(clock), system_(system), layout_(layout), shared_(std::make_shared<Shared>()) {
    shared_->desktopSpace = std::move(desktopSpace);
    // A compositing manager started or stopped while panels are open.
    systemObserver_ = system_.onChanged([this] {
        const bool canBlend = system_.hasCompositor();
        for (const auto& [serial, window] : shared_->windows) {
            if (window) window->setCanBlend(canBlend);
        }
    });
}

QtPanelHost::~QtPanelHost() = default;

std::unique_ptr<Panel> QtPanelHost::createPanel(const PanelStyle& style, RectBL frame, PanelContent content) {
    return std::make_unique<QtPanel>(shared_, ++lastSerial_, style, frame, std::move(content), loop_, clock_,
                                     system_.hasCompositor(), layout_);
}

std::optional<std::uint64_t> QtPanelHost::panelOfWindow(std::uint32_t window) const {
    for (const auto& [serial, panel] : shared_->windows) {
        if (panel && panel->windowHandle() && std::uint32_t(panel->winId()) == window) return serial;
    }
    return std::nullopt;
}

}  // namespace quillbern
