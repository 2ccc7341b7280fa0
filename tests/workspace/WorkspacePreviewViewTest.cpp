// The placement overlay's view under the offscreen platform, in a panel as the host makes it.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

#include "core/platform/FrameClock.h"
#include "core/workspace/WorkspacePreviewHolder.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimClock.h"
#include "sim/SimKeyboardLayout.h"
#include "sim/SimSystemAppearance.h"
#include "support/PaintCounter.h"
#include "ui/foundation/QtPanelHost.h"
#include "ui/workspace/QtWorkspaceViewFactory.h"
#include "ui/workspace/WorkspacePreviewView.h"

namespace quillbern {
namespace {

constexpr RectBL kScreen{0, 0, 800, 600};
constexpr Rect kLeft{10, 10, 385, 580};
constexpr Rect kRight{405, 10, 385, 580};
const std::string kFull = "The workspace is full";

using test::PaintCounter;

class PreviewView : public ::testing::Test {
protected:
    // Qt paints outside the loop's turns, on the thread the loop lives on.
    PreviewView() { loop.setIsMainLoop(true); }

    SimClock clock;
    ManualRunLoop loop{clock};
    FrameClock frames{loop, clock};
    SimSystemAppearance system;
    SimKeyboardLayout layout;
    WorkspacePreviewHolder holder;
    std::unique_ptr<QtPanelHost> host;
    std::unique_ptr<Panel> panel;
    WorkspacePreviewView* view = nullptr;

    void open(bool compositor = true) {
        system.setHasCompositor(compositor);
        system.setAccentColor({0.0, 0.4, 1.0, 1.0});
        host = std::make_unique<QtPanelHost>(
            frames,
            [] {
                return DesktopSpace(RectTL{0, 0, 800, 600});
            },
            system, layout);
        panel = host->createPanel(PanelStyle{PanelLevel::placement, true}, kScreen,
                                  QtWorkspaceViewFactory(frames).placement(
                                      {.holder = &holder, .system = &system, .mainLoop = &loop, .clock = &clock}));
        view = host->windowOf(*panel)->findChild<WorkspacePreviewView*>();
        ASSERT_NE(view, nullptr);
        panel->orderFront();
        QApplication::processEvents();
    }
    void TearDown() override {
        panel.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void settle() {
        clock.advance(WorkspacePreviewView::kChange.duration + 0.05);
        QApplication::processEvents();
    }
    QImage image() const {
        QImage image(view->size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        view->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }
};

TEST_F(PreviewView, TheHighlightedCellStandsOutAndTheNoticeIsCentredOnThePanel) {
    open();
    holder.setCellFrames({kLeft, kRight});
    holder.setHighlighted(1);
    holder.setFullNotice(kFull);
    settle();
    ASSERT_EQ(view->size(), QSize(800, 600));
    const QImage drawn = image();

    // Inside: a faint fill, stronger in the highlighted cell.
    const int plainFill = qAlpha(drawn.pixel(100, 150));
    const int highlightedFill = qAlpha(drawn.pixel(500, 150));
    EXPECT_NEAR(plainFill, 0.05 * 255, 2);
    EXPECT_NEAR(highlightedFill, 0.16 * 255, 2);
    EXPECT_GT(qBlue(drawn.pixel(500, 150)), qRed(drawn.pixel(500, 150))) << "in the accent colour";
    // The highlighted ring is solid all along its top edge; the plain one dashed, a dash
    // beginning every 12 points.
    int solid = 0, dashes = 0;
    bool inGap = true;
    for (int x = 60; x < 360; ++x) {
        solid += qAlpha(drawn.pixel(x + 395, 11)) > 0.6 * 255 ? 1 : 0;
        const bool gap = qAlpha(drawn.pixel(x, 10)) <= plainFill + 2;
        dashes += inGap && !gap ? 1 : 0;
        inGap = gap;
    }
    EXPECT_EQ(solid, 300);
    EXPECT_NEAR(dashes, 300 / 12, 1);
    int plainRing = 0;
    for (int x = 60; x < 360; ++x)
        plainRing = std::max(plainRing, qAlpha(drawn.pixel(x, 10)));
    EXPECT_NEAR(plainRing, (0.3 + 0.05 * 0.7) * 255, 4) << "fainter than the highlighted one";
    // A shadow beneath the highlighted cell only.
    EXPECT_GT(qAlpha(drawn.pixel(600, 593)), 0);
    EXPECT_EQ(qAlpha(drawn.pixel(200, 593)), 0);

    // The notice's capsule, centred on the whole panel, dark, with white text in it.
    const std::optional<WorkspacePreviewView::DrawnNotice> notice = view->drawnNotice();
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->frame.center(), QPointF(400, 300));
    EXPECT_GT(notice->frame.width(), 100);
    const QPoint padding(int(notice->frame.left()) + 6, 300);
    EXPECT_LT(qRed(drawn.pixel(padding)), 10);
    EXPECT_NEAR(qAlpha(drawn.pixel(padding)), 0.72 * 255, 8);
    int white = 0;
    for (int x = int(notice->frame.left()); x < int(notice->frame.right()); ++x)
        white += qRed(drawn.pixel(x, 300)) > 200 ? 1 : 0;
    EXPECT_GT(white, 5);
}

TEST_F(PreviewView, ChangesEaseIdleTicksPaintNothingAndGoneCellsAndTheNoticeFadeOut) {
    open();
    PaintCounter counter;
    view->installEventFilter(&counter);
    holder.setCellFrames({Rect{10, 10, 780, 580}});
    holder.setHighlighted(0);
    settle();

    // A second cell: the first moves aside, the new one fades in where it stands.
    holder.setCellFrames({kLeft, kRight});
    clock.advance(WorkspacePreviewView::kChange.duration / 2);
    std::vector<WorkspacePreviewView::DrawnCell> cells = view->drawnCells();
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_GT(cells[0].frame.width(), kLeft.width);
    EXPECT_LT(cells[0].frame.width(), 780);
    EXPECT_EQ(cells[1].frame, QRectF(405, 10, 385, 580));
    EXPECT_GT(cells[1].opacity, 0.5) << "eased out: more than half-way at half the time";
    EXPECT_LT(cells[1].opacity, 1);
    settle();
    cells = view->drawnCells();
    EXPECT_EQ(cells[0].frame, QRectF(10, 10, 385, 580));
    EXPECT_EQ(cells[1].opacity, 1);

    // The overlay's poll assigns the same answer at every tick: nothing is painted.
    const int before = counter.paints;
    for (int tick = 0; tick < 100; ++tick) {
        holder.setCellFrames({kLeft, kRight});
        holder.setHighlighted(0);
        holder.setFullNotice(std::nullopt);
        clock.advance(0.05);
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, before);

    // The highlight passes over; a real change paints again, and stops when it has eased.
    holder.setHighlighted(1);
    clock.advance(WorkspacePreviewView::kChange.duration / 2);
    cells = view->drawnCells();
    EXPECT_GT(cells[1].highlight, 0);
    EXPECT_LT(cells[1].highlight, 1);
    EXPECT_LT(cells[0].highlight, 1);
    settle();
    const int afterHighlight = counter.paints;
    EXPECT_GT(afterHighlight, before);
    clock.advance(1);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, afterHighlight) << "no frames once at rest";

    // The notice comes; the cells go and then the notice, each fading.
    holder.setFullNotice(kFull);
    settle();
    holder.setCellFrames({});
    holder.setFullNotice(std::nullopt);
    clock.advance(WorkspacePreviewView::kChange.duration / 2);
    EXPECT_EQ(view->drawnCells().size(), 2u);
    ASSERT_TRUE(view->drawnNotice());
    EXPECT_EQ(view->drawnNotice()->text.toStdString(), kFull);
    settle();
    EXPECT_TRUE(view->drawnCells().empty());
    EXPECT_FALSE(view->drawnNotice());
    EXPECT_EQ(qAlpha(image().pixel(400, 300)), 0);
    view->removeEventFilter(&counter);
}

TEST_F(PreviewView, WithoutACompositorThePanelIsCutToTheRingsAndTheNoticeDrawnOpaque) {
    open(false);
    const QWidget& window = *view->window();
    EXPECT_FALSE(window.mask().isEmpty());
    EXPECT_TRUE(window.mask().intersected(window.rect()).isEmpty()) << "nothing shows without cells";

    holder.setCellFrames({kLeft, kRight});
    holder.setHighlighted(1);
    holder.setFullNotice(kFull);
    settle();
    const QRegion shape = window.mask();
    EXPECT_TRUE(shape.contains(QPoint(600, 11))) << "on the highlighted ring";
    EXPECT_FALSE(shape.contains(QPoint(500, 150))) << "the screen shows inside the cells";
    EXPECT_FALSE(shape.contains(QPoint(100, 150)));
    EXPECT_FALSE(shape.contains(QPoint(400, 5))) << "and between them";
    EXPECT_TRUE(shape.contains(QPoint(400, 300))) << "the notice";
    // The plain ring is dashed: much of its edge is cut away.
    int cut = 0;
    for (int y = 60; y < 540; ++y)
        cut += shape.contains(QPoint(10, y)) ? 0 : 1;
    EXPECT_NEAR(cut, 480 * 5 / 12, 20);

    const QImage drawn = image();
    EXPECT_EQ(qAlpha(drawn.pixel(600, 11)), 255) << "opaque where it shows";
    const std::optional<WorkspacePreviewView::DrawnNotice> notice = view->drawnNotice();
    ASSERT_TRUE(notice);
    EXPECT_EQ(qAlpha(drawn.pixel(int(notice->frame.left()) + 6, 300)), 255);

    // A compositor starts: the whole panel shows again, translucent.
    system.setHasCompositor(true);
    system.notify();
    EXPECT_TRUE(window.mask().isEmpty());
    EXPECT_NEAR(qAlpha(image().pixel(500, 150)), 0.16 * 255, 2);
}

TEST(PreviewViewLifetime, AViewLeftAfterItsOverlayWentNeverReadsTheGoneHolder) {
    SimClock clock;
    ManualRunLoop loop{clock};
    loop.setIsMainLoop(true);
    FrameClock frames{loop, clock};
    SimSystemAppearance system;
    auto holder = std::make_unique<WorkspacePreviewHolder>();
    WorkspacePreviewView view(
        PlacementContent{.holder = holder.get(), .system = &system, .mainLoop = &loop, .clock = &clock}, frames,
        nullptr);
    view.resize(800, 600);
    holder->setCellFrames({kLeft, kRight});
    clock.advance(WorkspacePreviewView::kChange.duration);
    // The overlay goes while its cells fade out; Qt deletes the panel's view only later, and
    // its frames keep coming until then.
    holder->setCellFrames({});
    holder.reset();
    clock.advance(WorkspacePreviewView::kChange.duration);
    EXPECT_TRUE(view.drawnCells().empty());
    QImage image(view.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    view.render(&image);
    EXPECT_EQ(qAlpha(image.pixel(100, 150)), 0);
}

}  // namespace
}  // namespace quillbern
