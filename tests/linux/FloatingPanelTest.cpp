// Panels under the offscreen platform, as view tests create them.
#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <gtest/gtest.h>

#include "core/foundation/Clock.h"
#include "core/platform/FrameClock.h"
#include "linux/qt/QtRunLoop.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimSystemAppearance.h"
#include "ui/foundation/FloatingPanel.h"
#include "ui/foundation/QtPanelHost.h"

using namespace quillbern;

namespace {

// A child that takes every press, as a tile of a dock does.
class PressCounter final : public QWidget {
public:
    explicit PressCounter(QWidget* parent) : QWidget(parent) {}
    int presses = 0;
    int releases = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        ++releases;
        event->accept();
    }
};

// Delivers a click as the window system does: to the panel's window, which hands it on.
void click(FloatingPanel& panel, QPointF at, Qt::KeyboardModifiers modifiers) {
    QWindow* window = panel.windowHandle();
    ASSERT_NE(window, nullptr);
    const QPointF global = window->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, global, Qt::LeftButton, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(window, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, global, Qt::LeftButton, Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(window, &release);
}

}  // namespace

TEST(FloatingPanel, PanelsOpenMoveAndCloseUnderTheOffscreenPlatform) {
    QtRunLoop loop;
    SystemClock clock;
    FrameClock frames(loop, clock);
    SimSystemAppearance system;
    SimKeyboardLayout layout;
    QtPanelHost host(
        frames,
        [] {
            return DesktopSpace(RectTL{0, 0, 1920, 1080});
        },
        system, layout);
    auto panel = host.createPanel(PanelStyle{}, RectBL{100, 0, 400, 90}, PlainFill{{0.2, 0.4, 0.8, 1}});
    panel->orderFront();
    EXPECT_TRUE(panel->isVisible());
    panel->setFrame(RectBL{200, 10, 300, 80});
    EXPECT_EQ(panel->frame(), (RectBL{200, 10, 300, 80}));
    panel->orderOut();
    EXPECT_FALSE(panel->isVisible());
    panel.reset();
    QCoreApplication::processEvents();
}

TEST(FloatingPanel, ACommandClickReachesTheHookBeforeAnyChildAndIsNotHandedOn) {
    FloatingPanel panel(PanelStyle{}, PlainFill{{0.2, 0.4, 0.8, 1}});
    panel.setGeometry(100, 100, 400, 90);
    auto* child = new PressCounter(&panel);
    child->setGeometry(0, 0, 400, 90);
    panel.show();
    int hooks = 0;
    panel.setCommandClickHandler([&hooks] { ++hooks; });

    click(panel, {50, 40}, Qt::NoModifier);
    EXPECT_EQ(child->presses, 1);
    EXPECT_EQ(child->releases, 1);
    EXPECT_EQ(hooks, 0);

    click(panel, {50, 40}, Qt::ControlModifier);
    EXPECT_EQ(hooks, 1);
    EXPECT_EQ(child->presses, 1) << "the child never sees the Ctrl-click";
    EXPECT_EQ(child->releases, 1) << "nor the release that ends it";

    // Without a hook the click is the child's.
    panel.setCommandClickHandler({});
    click(panel, {50, 40}, Qt::ControlModifier);
    EXPECT_EQ(child->presses, 2);
}
