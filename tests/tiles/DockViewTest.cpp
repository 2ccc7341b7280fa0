#include <malloc.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QHelpEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <gtest/gtest.h>

#include "tiles/TilesWorld.h"
#include "ui/dock/QtDockViewFactory.h"
#include "ui/foundation/FloatingPanel.h"
#include "ui/tiles/AuthorizeButton.h"
#include "ui/tiles/DockView.h"
#include "ui/tiles/TileStrip.h"

namespace quillbern {
namespace {

using testing::app;
using testing::dock;
using testing::kLeft;
using testing::kRight;
using testing::window;

const QColor kMail(220, 40, 40);
const QColor kWeb(40, 160, 40);
const QColor kNotes(40, 40, 220);
const QColor kTerm(230, 150, 20);
const QColor kDraw(150, 30, 170);

class View : public ::testing::Test {
protected:
    View() {
        w.install("mail", "Mail", kMail);
        w.install("web", "Web", kWeb);
        w.install("notes", "Notes", kNotes);
        w.install("term", "Term", kTerm);
        w.install("draw", "Draw", kDraw);
    }

    // Two applications run with windows on the left display, one on the right.
    void runApps() {
        w.run(20, "term", "Term");
        w.run(21, "draw", "Draw");
        w.run(22, "notes", "Notes");
        w.showWindows({window(1, 21, "Draw", kLeft), window(2, 22, "Notes", kRight), window(3, 20, "Term", kLeft)});
    }

    // A dock of twelve applications, "app0" to "app11", more than a narrow view holds.
    void openTwelveApps() {
        std::vector<PinnedItem> items;
        for (int i = 0; i < 12; ++i) {
            const std::string id = "app" + std::to_string(i);
            w.install(id, id, kMail);
            items.push_back(app(id, id));
        }
        w.open({dock(1, DockEdge::bottom, items)});
    }

    testing::TilesWorld w;
};

std::vector<std::string> keys(const TileStrip& strip) {
    std::vector<std::string> result;
    for (const auto& cell : strip.cells())
        result.push_back(cell->key());
    return result;
}

// Pixels inside the area that are not the bar's own fill: something is drawn there.
int drawnPixels(const QImage& image, const QRectF& area, QColor fill) {
    const QRect box = area.toAlignedRect();
    return box.width() * box.height() - testing::pixelsNear(image, box, fill, 6);
}

// Counts a widget's paints and gathers what they covered.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        ++paints;
        painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

QColor barFill(const QImage& image, const DockView& view) {
    return image.pixelColor(view.layout().bar.toAlignedRect().left() + 6, view.layout().bar.center().y());
}

TEST_F(View, ARemovedDockShowsTheHintWithoutItsName) {
    w.open({dock(1, DockEdge::left, {app("mail", "Mail")}), dock(2, DockEdge::bottom)});
    const auto view = w.view(1, kLeft, {100, 300});
    EXPECT_FALSE(view->layout().header.isEmpty());
    EXPECT_TRUE(view->strip().isVisibleTo(view.get()));

    w.pinned->deleteOrResetProfile(testing::dockId(1));
    EXPECT_TRUE(view->layout().header.isEmpty());
    EXPECT_FALSE(view->strip().isVisibleTo(view.get()));
    EXPECT_FALSE(view->authorizeButton().isVisibleTo(view.get()));
    ASSERT_FALSE(view->layout().hint.isEmpty());
    const QImage image = testing::rendered(*view);
    EXPECT_GT(drawnPixels(image, view->layout().hint, barFill(image, *view)), 20) << "the hint is drawn";
}

TEST_F(View, WithoutAccessAnEmptyDockOffersTheButtonAboveTheHintUntilTilesReplaceBoth) {
    w.open({dock(1, DockEdge::bottom)}, /*trusted=*/false);
    const auto view = w.view(1, kLeft, {400, 110});
    AuthorizeButton& button = view->authorizeButton();
    ASSERT_TRUE(button.isVisibleTo(view.get()));
    EXPECT_FALSE(view->strip().isVisibleTo(view.get()));
    EXPECT_LE(view->layout().button.bottom(), view->layout().hint.top());
    EXPECT_EQ(button.text(), QStringLiteral("Check Window Access"));

    // Pressing it asks once; the dock waits for the engine's trust to change.
    button.click();
    EXPECT_EQ(w.world.permissions.windowAccessPrompts(), 1);
    EXPECT_TRUE(button.isVisibleTo(view.get()));

    // Access granted, and an application opens a window on this display.
    w.engine->start();
    w.world.windows.addWindow(20, {.id = 7, .title = "Shell", .frame = {100, 100, 400, 300}});
    w.run(20, "term", "Term");
    w.world.permissions.setWindowAccessTrusted(true);
    w.world.advance(WindowEngine::kTrustPollInterval + AXWorker::kDebounce);
    EXPECT_FALSE(button.isVisibleTo(view.get()));
    EXPECT_TRUE(view->layout().hint.isEmpty());
    ASSERT_TRUE(view->strip().isVisibleTo(view.get()));
    EXPECT_EQ(keys(view->strip()), std::vector<std::string>{"term"});
}

TEST_F(View, WithoutAccessTheButtonFollowsTheScrollingItemsAndNeverScrollsAway) {
    std::vector<PinnedItem> items;
    for (const char* id : {"mail", "web", "notes", "term", "draw", "mail2", "web2", "notes2"})
        items.push_back(app(id, id));
    w.open({dock(1, DockEdge::bottom, items)}, /*trusted=*/false);
    const auto view = w.view(1, kLeft, {420, 110});
    TileStrip& strip = view->strip();
    ASSERT_TRUE(strip.isVisibleTo(view.get()));
    EXPECT_EQ(strip.cells().size(), 8u);
    EXPECT_FALSE(strip.separatorFrame()) << "no running applications, no separator in the strip";
    const DockView::Layout& layout = view->layout();
    ASSERT_FALSE(layout.separator.isEmpty());
    EXPECT_GE(layout.separator.left(), layout.scroll.right());
    EXPECT_GE(layout.button.left(), layout.separator.right());
    EXPECT_LE(layout.button.right(), layout.bar.right());
    EXPECT_GT(strip.stripSpan(), strip.width()) << "the items overflow";

    const QRect buttonBefore = view->authorizeButton().geometry();
    QWheelEvent wheel(QPointF(50, 20), QPointF(50, 20), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&strip, &wheel);
    EXPECT_GT(strip.scrollOffset(), 0);
    EXPECT_EQ(view->authorizeButton().geometry(), buttonBefore);
    EXPECT_EQ(view->layout().separator.left(), layout.separator.left());
}

TEST_F(View, OnASideDockTheButtonStandsInsideTheBar) {
    w.open({dock(1, DockEdge::left, {app("mail", "Mail")})}, /*trusted=*/false);
    const auto view = w.view(1, kLeft, w.panelSize(1, kLeft));
    const DockView::Layout& layout = view->layout();
    ASSERT_TRUE(view->authorizeButton().isVisibleTo(view.get()));
    EXPECT_TRUE(layout.bar.contains(layout.button)) << "the symbol goes above a word that does not fit beside it";
    EXPECT_GE(layout.button.top(), layout.separator.bottom());
    EXPECT_GE(layout.separator.top(), layout.scroll.bottom());
}

TEST_F(View, ADockThatShowsNoWindowsNeverAsksForAccess) {
    w.open(
        {dock(1, DockEdge::bottom, {}, /*showsWindows=*/false), dock(2, DockEdge::top, {app("mail", "Mail")}, false)},
        /*trusted=*/false);
    const auto empty = w.view(1, kLeft, {300, 100});
    const auto items = w.view(2, kLeft, {300, 100});
    EXPECT_FALSE(empty->authorizeButton().isVisibleTo(empty.get()));
    EXPECT_FALSE(items->authorizeButton().isVisibleTo(items.get()));
    EXPECT_FALSE(empty->layout().hint.isEmpty());
}

TEST_F(View, AnEmptyDockWithNothingRunningShowsTheHintAlone) {
    w.open({dock(1, DockEdge::bottom)});
    const auto view = w.view(1, kLeft, {300, 100});
    EXPECT_FALSE(view->layout().hint.isEmpty());
    EXPECT_FALSE(view->strip().isVisibleTo(view.get()));
    EXPECT_FALSE(view->authorizeButton().isVisibleTo(view.get()));
    EXPECT_FALSE(view->layout().header.isEmpty());
}

TEST_F(View, RunningApplicationsAloneNeedNoSeparator) {
    w.open({dock(1, DockEdge::bottom)});
    runApps();
    const auto view = w.view(1, kLeft, {300, 110});
    EXPECT_TRUE(view->layout().hint.isEmpty());
    EXPECT_EQ(keys(view->strip()), (std::vector<std::string>{"draw", "term"}));
    EXPECT_FALSE(view->strip().separatorFrame());
}

TEST_F(View, ADockWithPinnedAndRunningApplicationsDrawsTheSeparatorBetweenThem) {
    w.open({dock(1, DockEdge::bottom, {app("mail", "Mail"), app("web", "Web"), app("term", "Term")})});
    runApps();
    const auto view = w.view(1, kLeft, w.panelSize(1, kLeft));
    const TileStrip& strip = view->strip();
    ASSERT_EQ(keys(strip).size(), 4u) << "Term is pinned; Draw runs here, Notes on the other display";
    EXPECT_EQ(keys(strip)[3], "draw");
    const std::optional<QRectF> separator = strip.separatorFrame();
    ASSERT_TRUE(separator);

    const QImage image = testing::rendered(*view);
    const QPoint offset = strip.geometry().topLeft();
    const std::vector<QRectF> tiles = strip.tileFrames();
    const std::vector<QColor> colours{kMail, kWeb, kTerm, kDraw};
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const QRect icon = tiles[i].translated(offset).toAlignedRect();
        EXPECT_GT(testing::pixelsNear(image, icon, colours[i], 0), 30 * 30) << "tile " << i;
    }
    // The separator: a thin darker line between the last pinned tile and the running one.
    const QRectF line = separator->translated(offset);
    EXPECT_GT(line.left(), tiles[2].translated(offset).right());
    EXPECT_LT(line.right(), tiles[3].translated(offset).left());
    const QColor fill = image.pixelColor(static_cast<int>(line.left()) - 3, static_cast<int>(line.center().y()));
    const QColor onLine = image.pixelColor(static_cast<int>(line.center().x()), static_cast<int>(line.center().y()));
    EXPECT_LT(onLine.lightness(), fill.lightness() - 20);
    const QColor pastEnd = image.pixelColor(static_cast<int>(line.center().x()), static_cast<int>(line.bottom()) + 3);
    EXPECT_EQ(pastEnd, fill) << "the line is shorter than the tiles";
}

TEST_F(View, AnOverflowingStripScrollsAndFadesItsEndsOnceTheOverflowHolds) {
    openTwelveApps();
    w.appearance->setMaterial(DockMaterial::opaque);
    const auto view = w.view(1, kLeft, {400, 110});
    TileStrip& strip = view->strip();
    ASSERT_GT(strip.stripSpan(), strip.width() + 1);
    EXPECT_FALSE(strip.showsFade());

    // The first tile's icon begins inside the faded end; the middle of the strip is clear of it.
    const QPoint offset = strip.geometry().topLeft();
    const QPoint end = offset + QPointF(strip.tileFrames()[0].left() + 12, strip.height() / 2.0).toPoint();
    const QPoint middle = offset + QPoint(strip.width() / 2, strip.height() / 2);
    const QImage sharp = testing::rendered(*view);
    const QColor fill = barFill(sharp, *view);
    const auto distance = [&fill](QColor c) {
        return std::abs(c.red() - fill.red()) + std::abs(c.green() - fill.green()) + std::abs(c.blue() - fill.blue());
    };

    w.world.advance(0.19);
    EXPECT_FALSE(strip.showsFade());
    w.world.advance(0.01);
    EXPECT_TRUE(strip.showsFade());
    w.world.advance(TileStrip::kFadeAnimation.duration);
    const QImage faded = testing::rendered(*view);
    EXPECT_EQ(sharp.pixelColor(end), kMail);
    EXPECT_LT(distance(faded.pixelColor(end)), distance(kMail) * 0.9) << "the end blends into the bar";
    EXPECT_EQ(faded.pixelColor(middle), sharp.pixelColor(middle));

    // Scrolling moves the tiles under the fade.
    QWheelEvent wheel(QPointF(50, 20), QPointF(50, 20), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&strip, &wheel);
    EXPECT_GT(strip.scrollOffset(), 0);
    EXPECT_LT(strip.tileFrames()[0].left(), 0);

    // Tiles removed until the strip fits: the fade goes at once.
    for (int i = 0; i < 9; ++i)
        w.pinned->unpin("app" + std::to_string(i), testing::dockId(1));
    EXPECT_FALSE(strip.showsFade());
    EXPECT_EQ(strip.scrollOffset(), 0);
}

TEST_F(View, TheFadingOfAStripsEndsLeavesNothingHeldOnceDrawn) {
    openTwelveApps();
    const auto view = w.view(1, kLeft, {400, 110});
    w.world.advance(0.2);
    ASSERT_TRUE(view->strip().showsFade());
    testing::rendered(*view);

    // Every frame of the fade coming and going, drawn: the heap in use is about the same.
    const std::size_t before = mallinfo2().uordblks;
    constexpr int kFrames = 40;
    for (int i = 0; i < kFrames; ++i) {
        w.world.advance(TileStrip::kFadeAnimation.duration / kFrames);
        testing::rendered(*view);
    }
    EXPECT_LT(double(mallinfo2().uordblks) - double(before), 100e3);
}

TEST_F(View, AFileDragOverTheBarOrOneOfItsTilesHighlightsIt) {
    w.open({dock(1, DockEdge::bottom, {app("mail", "Mail")})});
    w.world.appearance.setAccentColor({1, 0, 0, 1});
    const auto view = w.view(1, kLeft, {300, 110});
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/u/report.pdf"))});
    const QPoint onBar(20, 20);
    const QPoint onTile = view->strip().geometry().topLeft() + view->strip().tileFrames()[0].center().toPoint();

    // Just inside the bar's top edge, where the highlight's stroke runs.
    const QPoint border(static_cast<int>(view->layout().bar.center().x()),
                        static_cast<int>(view->layout().bar.top()) + 1);
    const QColor resting = testing::rendered(*view).pixelColor(border);

    QDragEnterEvent enter(onBar, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_TRUE(view->isHighlighted());
    w.world.advance(DockView::kHighlightAnimation.duration);
    const QColor lit = testing::rendered(*view).pixelColor(border);
    EXPECT_GT(lit.red(), 200);
    EXPECT_LT(lit.green(), 140) << "the accent at 0.65";

    QDragMoveEvent overTile(onTile, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &overTile);
    EXPECT_TRUE(view->isHighlighted()) << "a tile under the drag keeps the bar highlighted";

    QDragLeaveEvent leave;
    QApplication::sendEvent(view.get(), &leave);
    EXPECT_FALSE(view->isHighlighted());
    w.world.advance(DockView::kHighlightAnimation.duration);
    EXPECT_EQ(testing::rendered(*view).pixelColor(border), resting);

    QMimeData text;
    text.setText(QStringLiteral("words"));
    QDragEnterEvent words(onBar, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    words.ignore();
    QApplication::sendEvent(view.get(), &words);
    EXPECT_FALSE(words.isAccepted());
    EXPECT_FALSE(view->isHighlighted());
}

TEST_F(View, TilesAreUpdatedInPlaceAndKeepTheirState) {
    w.open({dock(1, DockEdge::bottom, {app("mail", "Mail")})});
    runApps();
    const auto view = w.view(1, kLeft, {500, 110});
    TileStrip& strip = view->strip();
    const TileCell* mail = strip.cells()[0].get();
    QMouseEvent move(QEvent::MouseMove, strip.tileFrames()[0].center(), strip.mapToGlobal(QPointF(0, 0)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&strip, &move);
    EXPECT_EQ(mail->hover.target(), 1);

    // Another application opens a window here and the dock is renamed: same tiles, same state.
    w.run(23, "web", "Web");
    w.showWindows({window(1, 21, "Draw", kLeft), window(3, 20, "Term", kLeft), window(4, 23, "Web", kLeft)});
    w.pinned->renameProfile(testing::dockId(1), "Work");
    EXPECT_EQ(&view->strip(), &strip);
    EXPECT_EQ(strip.cells()[0].get(), mail);
    EXPECT_EQ(mail->hover.target(), 1);
    EXPECT_EQ(keys(strip), (std::vector<std::string>{"item:app:mail", "draw", "term", "web"}));
}

TEST_F(View, WindowsThatChangeNothingItShowsLeaveTheDockUnpainted) {
    w.open({dock(1, DockEdge::bottom, {app("mail", "Mail")})});
    runApps();
    const auto view = w.view(1, kLeft, {500, 110});
    QApplication::processEvents();
    PaintCounter bar(*view);
    PaintCounter strip(view->strip());

    // A second window of an application shown here, and one on the other display.
    w.showWindows({window(1, 21, "Draw", kLeft), window(2, 22, "Notes", kRight), window(3, 20, "Term", kLeft),
                   window(5, 21, "Draw", kLeft), window(6, 22, "Notes", kRight)});
    QApplication::processEvents();
    EXPECT_EQ(bar.paints, 0);
    EXPECT_EQ(strip.paints, 0);

    w.run(23, "web", "Web");
    w.showWindows({window(1, 21, "Draw", kLeft), window(3, 20, "Term", kLeft), window(4, 23, "Web", kLeft)});
    w.world.advance(FrameTicker::kFrameInterval);
    QApplication::processEvents();
    EXPECT_GT(strip.paints, 0) << "a new tile shows";
}

TEST_F(View, ChangesPaintOnlyWhatTheyChangeAndAtMostOnceAFrame) {
    openTwelveApps();
    const auto view = w.view(1, kLeft, {400, 110});
    TileStrip& strip = view->strip();
    w.world.advance(1);
    QApplication::processEvents();
    ASSERT_GT(strip.stripSpan(), strip.width() + 1);
    PaintCounter painted(strip);

    // Applications that start running past the end the strip shows.
    w.run(20, "term", "Term");
    w.run(21, "draw", "Draw");
    w.showWindows({window(1, 20, "Term", kLeft), window(2, 21, "Draw", kLeft)});
    w.world.advance(1);
    QApplication::processEvents();
    ASSERT_EQ(keys(strip).size(), 14U);
    EXPECT_EQ(painted.paints, 0);

    // The first tile starts running: its dot fades in, and only the tiles beside it repaint.
    const QPoint farTile = strip.tileFrames()[4].center().toPoint();
    w.run(22, "app0", "app0");
    w.showWindows({window(1, 20, "Term", kLeft), window(2, 21, "Draw", kLeft), window(3, 22, "app0", kLeft)});
    w.world.advance(1);
    QApplication::processEvents();
    EXPECT_GT(painted.paints, 0);
    EXPECT_TRUE(painted.painted.contains(strip.tileFrames()[0].center().toPoint()));
    EXPECT_FALSE(painted.painted.contains(farTile));

    // A burst of changes within a frame of the last paint is painted once, at the frame's end.
    painted.paints = 0;
    w.pinned->unpin("app5", testing::dockId(1));
    QApplication::processEvents();
    EXPECT_EQ(painted.paints, 1);
    w.pinned->unpin("app6", testing::dockId(1));
    w.pinned->unpin("app7", testing::dockId(1));
    QApplication::processEvents();
    EXPECT_EQ(painted.paints, 1);
    w.world.advance(FrameTicker::kFrameInterval);
    QApplication::processEvents();
    EXPECT_EQ(painted.paints, 2);
    EXPECT_EQ(keys(strip).size(), 11U);
}

TEST_F(View, ThePanelTheFrameGeometryGivesHoldsEveryTile) {
    for (const DockEdge edge : {DockEdge::bottom, DockEdge::left}) {
        for (const double tile : {48.0, 62.0, 88.0}) {
            for (const bool labels : {false, true}) {
                SCOPED_TRACE(std::string(caseName(edge)) + " dock, tile " + std::to_string(tile) +
                             (labels ? ", labels" : ""));
                testing::TilesWorld world;
                world.install("mail", "Mail", kMail);
                world.open({dock(1, edge, {app("mail", "Mail"), app("web", "Web")})});
                world.appearance->setTileSize(tile);
                world.appearance->setShowsLabels(labels);
                world.run(20, "term", "Term");
                world.run(21, "draw", "Draw");
                world.showWindows({window(1, 21, "Draw", kLeft), window(3, 20, "Term", kLeft)});
                const auto view = world.view(1, kLeft, world.panelSize(1, kLeft));
                const TileStrip& strip = view->strip();
                EXPECT_EQ(strip.cells().size(), 4u);
                EXPECT_LE(strip.stripSpan(), (edge == DockEdge::bottom ? strip.width() : strip.height()) + 1.0);
                EXPECT_TRUE(view->layout().bar.contains(QRectF(strip.geometry())));
                EXPECT_GE(strip.geometry().top(), view->layout().header.bottom());
                world.world.advance(1);
                EXPECT_FALSE(strip.showsFade());
            }
        }
    }
}

TEST_F(View, TheAccentTintShowsOnTheBarOnlyWhenChosen) {
    w.open({dock(1, DockEdge::bottom)});
    w.world.appearance.setAccentColor({0, 0, 1, 1});
    const auto view = w.view(1, kLeft, {300, 100});
    const QPoint inside(view->layout().bar.toAlignedRect().left() + 6,
                        static_cast<int>(view->layout().bar.center().y()));
    const QColor plain = testing::rendered(*view).pixelColor(inside);
    w.appearance->setGlassTint(GlassTint::accent);
    const QColor tinted = testing::rendered(*view).pixelColor(inside);
    EXPECT_GT(tinted.blue() - tinted.red(), plain.blue() - plain.red() + 30);
}

TEST_F(View, ALongNameIsCutOnOneLineAndItsTooltipShowsItWhole) {
    Profile named = dock(1, DockEdge::left, {app("mail", "Mail")});
    named.name = "A dock with a name far longer than its bar";
    w.open({named});
    const auto view = w.view(1, kLeft, {86, 300});
    const QRectF header = view->layout().header;
    EXPECT_LE(header.height(), 20) << "one line";
    EXPECT_LT(header.bottom(), view->strip().geometry().top()) << "the name stands above the tiles on a side edge";
    const QImage image = testing::rendered(*view);
    EXPECT_GT(drawnPixels(image, header, barFill(image, *view)), 10);

    view->show();
    QHelpEvent help(QEvent::ToolTip, header.center().toPoint(), view->mapToGlobal(header.center().toPoint()));
    QApplication::sendEvent(view.get(), &help);
    EXPECT_EQ(QToolTip::text(), QString::fromStdString(named.name));
    QToolTip::hideText();
}

TEST_F(View, ACommandClickOnTheDockReachesThePanelAndNeitherTheTileNorTheButton) {
    w.open({dock(1, DockEdge::bottom, {app("mail", "Mail")})}, /*trusted=*/false);
    FloatingPanel panel(PanelStyle{}, QtDockViewFactory(w.world.frames).dockBar(w.content(1, kLeft)));
    panel.setGeometry(0, 0, 420, 110);
    panel.show();
    int commands = 0;
    panel.setCommandClickHandler([&] { ++commands; });
    auto* view = panel.findChild<DockView*>();
    ASSERT_NE(view, nullptr);
    TileStrip& strip = view->strip();
    const QPointF onTile = strip.mapTo(&panel, strip.tileFrames()[0].center());
    const QPointF onButton = view->mapTo(&panel, view->layout().button.center());
    // As the window system delivers it: to the panel's window, which hands it on.
    const auto press = [&](QPointF at, Qt::KeyboardModifiers modifiers) {
        QWindow* window = panel.windowHandle();
        QMouseEvent event(QEvent::MouseButtonPress, at, at, window->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          modifiers);
        QCoreApplication::sendEvent(window, &event);
    };
    const auto release = [&](QPointF at) {
        QWindow* window = panel.windowHandle();
        QMouseEvent event(QEvent::MouseButtonRelease, at, at, window->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(window, &event);
    };

    press(onTile, Qt::NoModifier);
    EXPECT_EQ(strip.cells()[0]->press.target(), 1) << "the tile shrinks while pressed";
    release(onTile);
    EXPECT_EQ(strip.cells()[0]->press.target(), 0);
    EXPECT_EQ(commands, 0);
    EXPECT_EQ(w.world.launcher.launchedPaths().size(), 1u) << "a plain click starts the application";

    press(onTile, Qt::ControlModifier);
    release(onTile);
    EXPECT_EQ(commands, 1);
    EXPECT_EQ(strip.cells()[0]->press.target(), 0);
    EXPECT_EQ(w.world.launcher.launchedPaths().size(), 1u) << "the tile never sees a Ctrl-click";
    press(onButton, Qt::ControlModifier);
    release(onButton);
    EXPECT_EQ(commands, 2);
    EXPECT_EQ(w.world.permissions.windowAccessPrompts(), 0);
}

TEST_F(View, WithoutACompositorThePanelIsCutToTheBarsRoundedOutline) {
    w.open({dock(1, DockEdge::bottom, {app("mail", "Mail")})});
    FloatingPanel panel(PanelStyle{}, QtDockViewFactory(w.world.frames).dockBar(w.content(1, kLeft)));
    panel.setGeometry(0, 0, 300, 110);
    panel.show();
    panel.setCanBlend(false);
    const QRegion shape = panel.mask();
    EXPECT_TRUE(shape.contains(QPoint(150, 55)));
    EXPECT_FALSE(shape.contains(QPoint(150, 1))) << "the panel's margin around the bar";
    EXPECT_FALSE(shape.contains(QPoint(5, 5))) << "the bar's rounded corner";
    EXPECT_TRUE(shape.contains(QPoint(150, 5)));

    // A new corner radius cuts the panel anew.
    w.appearance->setCornerRadius(30);
    EXPECT_FALSE(panel.mask().contains(QPoint(9, 9)));
    panel.setCanBlend(true);
    EXPECT_TRUE(panel.mask().isEmpty());
}

}  // namespace
}  // namespace quillbern
