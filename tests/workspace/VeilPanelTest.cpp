// The veil's view under the offscreen platform, in a panel as the host makes it.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWindow>
#include <gtest/gtest.h>

#include "core/platform/FrameClock.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimClock.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimSystemAppearance.h"
#include "support/PaintCounter.h"
#include "ui/foundation/QtPanelHost.h"
#include "ui/workspace/QtWorkspaceViewFactory.h"
#include "ui/workspace/VeilPanel.h"

namespace quillbern {
namespace {

constexpr RectBL kScreen{0, 0, 400, 300};
// In the view: 100 from the left, 100 below the top, 200 by 100.
constexpr RectBL kHole{100, 100, 200, 100};

using test::PaintCounter;

class Veil : public ::testing::Test {
protected:
    SimClock clock;
    ManualRunLoop loop{clock};
    FrameClock frames{loop, clock};
    SimSystemAppearance system;
    SimKeyboardLayout layout;
    std::unique_ptr<QtPanelHost> host;
    std::unique_ptr<Panel> panel;
    VeilPanel* view = nullptr;

    void open(bool compositor = true) {
        system.setHasCompositor(compositor);
        host = std::make_unique<QtPanelHost>(
            frames,
            [] {
                return DesktopSpace(RectTL{0, 0, 400, 300});
            },
            system, layout);
        panel = host->createPanel(PanelStyle{PanelLevel::veil, true}, kScreen,
                                  QtWorkspaceViewFactory(frames).veil({kScreen}));
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (host->panelOfWindow(std::uint32_t(widget->winId())) == panel->serial())
                view = widget->findChild<VeilPanel*>();
        }
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override {
        panel.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QImage image() const {
        QImage image(view->size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        view->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }
};

TEST_F(Veil, DimsAllButTheRoundedHoleAndRingsIt) {
    open();
    panel->setVeil(kHole, 0.35);
    panel->orderFront();
    ASSERT_EQ(view->size(), QSize(400, 300));
    const QImage drawn = image();
    // The hole is clear.
    EXPECT_EQ(qAlpha(drawn.pixel(200, 150)), 0);
    EXPECT_EQ(qAlpha(drawn.pixel(110, 150)), 0);
    // Outside it, black at the intensity.
    for (const QPoint p : {QPoint(20, 20), QPoint(390, 290), QPoint(200, 90)}) {
        EXPECT_EQ(drawn.pixel(p) & 0xFFFFFF, 0u) << p.x() << "," << p.y();
        EXPECT_NEAR(qAlpha(drawn.pixel(p)), 0.35 * 255, 2) << p.x() << "," << p.y();
    }
    // The hole's corners are rounded: its very corner is dimmed.
    EXPECT_GT(qAlpha(drawn.pixel(100, 100)), 60);
    // The ring lightens the hole's edge, inside and out.
    EXPECT_GT(qRed(drawn.pixel(200, 99)), 10);
    EXPECT_GT(qRed(drawn.pixel(200, 100)), 10);
    EXPECT_GT(qRed(drawn.pixel(299, 150)), 10);
    EXPECT_EQ(qRed(drawn.pixel(200, 103)), 0);
}

TEST_F(Veil, WithoutAHoleHereItDimsEverythingWithoutARing) {
    open();
    panel->setVeil(RectBL{1000, 100, 200, 100}, 0.5);
    panel->orderFront();
    const QImage drawn = image();
    for (const QPoint p : {QPoint(20, 20), QPoint(200, 150), QPoint(200, 100)}) {
        EXPECT_EQ(drawn.pixel(p) & 0xFFFFFF, 0u);
        EXPECT_NEAR(qAlpha(drawn.pixel(p)), 0.5 * 255, 2);
    }
}

TEST_F(Veil, AnUnchangedUpdatePaintsNothing) {
    open();
    PaintCounter counter;
    view->installEventFilter(&counter);
    panel->setVeil(kHole, 0.35);
    panel->orderFront();
    QApplication::processEvents();
    const int first = counter.paints;
    ASSERT_GT(first, 0);

    panel->setVeil(kHole, 0.35);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, first);

    // A new intensity or a moved hole shows at once, without steps in between.
    panel->setVeil(kHole, 0.2);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, first + 1);
    EXPECT_NEAR(qAlpha(image().pixel(20, 20)), 0.2 * 255, 2);
    panel->setVeil(RectBL{50, 50, 100, 100}, 0.2);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, first + 3) << "one paint, and the image above";
    EXPECT_EQ(qAlpha(image().pixel(100, 200)), 0);
    view->removeEventFilter(&counter);
}

TEST_F(Veil, WithoutACompositorThePanelIsCutToTheRing) {
    open(false);
    panel->setVeil(kHole, 0.35);
    panel->orderFront();
    const QWidget& window = *view->window();
    const QRegion shape = window.mask();
    EXPECT_TRUE(shape.contains(QPoint(200, 100))) << "on the ring";
    EXPECT_TRUE(shape.contains(QPoint(200, 99)));
    EXPECT_FALSE(shape.contains(QPoint(200, 150))) << "inside the hole";
    EXPECT_FALSE(shape.contains(QPoint(20, 20))) << "the dimmed part would show black";

    // No hole here: nothing of the panel shows.
    panel->setVeil(std::nullopt, 0.35);
    EXPECT_FALSE(window.mask().isEmpty());
    EXPECT_TRUE(window.mask().intersected(window.rect()).isEmpty());

    // A compositor starts: the whole panel shows again.
    system.setHasCompositor(true);
    system.notify();
    EXPECT_TRUE(window.mask().isEmpty());
}

}  // namespace
}  // namespace quillbern
