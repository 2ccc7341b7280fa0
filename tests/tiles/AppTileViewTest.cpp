#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <gtest/gtest.h>

#include "tiles/TilesWorld.h"
#include "ui/foundation/ModelMenu.h"
#include "ui/tiles/DockView.h"
#include "ui/tiles/TileChrome.h"
#include "ui/tiles/TileStrip.h"

namespace quillbern {
namespace {

using testing::app;
using testing::dock;
using testing::kLeft;
using testing::window;

const QColor kMail(220, 40, 40);
const QColor kTerm(230, 150, 20);
const QColor kAccent(0, 122, 255);

// A dock at the bottom with Mail and Web pinned, and what its owner hears from it.
class AppTileView : public ::testing::Test {
protected:
    AppTileView() {
        w.install("mail", "Mail", kMail);
        w.install("term", "Term", kTerm);
        w.world.appearance.setAccentColor({0, 122 / 255.0, 1, 1});
    }

    void open(std::vector<PinnedItem> items = {app("mail", "Mail"), app("gone", "Gone")}) {
        w.open({dock(1, DockEdge::bottom, std::move(items))});
        w.engine->onRaiseRequest = [this](const WindowInfo& window) { raised.push_back(window.id); };
        DockContent content = w.content(1, kLeft);
        content.onHoverTile = [this](const std::optional<WindowInfo>& window) { hovers.push_back(window); };
        content.onInteractionLock = [this](bool locked) { locks += locked ? 1 : -1; };
        content.onColdLaunch = [this](const PinnedApp& launched) { coldLaunches.push_back(launched.bundleID); };
        view = std::make_unique<DockView>(content, w.world.frames, nullptr);
        view->resize(420, 110);
        view->show();
    }

    TileStrip& strip() const { return view->strip(); }
    QPointF centre(std::size_t cell) const { return strip().tileFrames()[cell].center(); }
    // The icon's box of a tile in the view, at rest.
    QRect iconBox(std::size_t cell) const {
        const QRectF box = TileChrome::iconBox(strip().tileFrames()[cell].topLeft(), w.appearance->tileSize());
        return box.translated(strip().geometry().topLeft()).toAlignedRect();
    }
    // The dot's box of a tile in the view.
    QRect dotBox(std::size_t cell) const {
        const QRect icon = iconBox(cell);
        return QRect(icon.center().x() - 1, icon.bottom() + 3, 3, 3);
    }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent event(type, at, strip().mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(&strip(), &event);
    }
    void click(QPointF at) {
        mouse(QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseButtonRelease, at);
    }
    QAccessibleInterface* tile(int index) const {
        return QAccessible::queryAccessibleInterface(&strip())->child(index);
    }

    testing::TilesWorld w;
    std::unique_ptr<DockView> view;
    std::vector<std::optional<WindowInfo>> hovers;
    std::vector<WindowId> raised;
    std::vector<std::string> coldLaunches;
    int locks = 0;
};

TEST_F(AppTileView, TheRunningDotShowsUnderTheIconSubduedUnlessFrontmost) {
    open();
    EXPECT_EQ(testing::pixelsNear(testing::rendered(*view), dotBox(0), kAccent, 40), 0) << "not running";

    w.run(10, "mail", "Mail");
    w.world.advance(0.2);
    const QImage running = testing::rendered(*view);
    EXPECT_GT(testing::pixelsNear(running, iconBox(0), kMail, 0), 30 * 30);
    const QColor subdued = running.pixelColor(dotBox(0).center());
    EXPECT_GT(subdued.blue(), subdued.red() + 40) << "the accent";

    WindowInfo front = window(1, 10, "Mail", kLeft);
    front.isFocused = true;
    w.showWindows({front});
    w.world.advance(0.1);
    EXPECT_GT(strip().cells()[0]->dot.value(w.world.clock.mediaNow()), 0.55) << "fading to full over 0.2 s";
    w.world.advance(0.1);
    const QColor full = testing::rendered(*view).pixelColor(dotBox(0).center());
    EXPECT_NEAR(full.blue(), 255, 8);
    EXPECT_NEAR(full.green(), 122, 12);
    EXPECT_LT(full.red(), subdued.red() - 40) << "the running dot was blended with the bar";
}

TEST_F(AppTileView, AClickReleasedOnTheTileActsAndOneReleasedElsewhereDoesNot) {
    open();
    mouse(QEvent::MouseButtonPress, centre(0));
    mouse(QEvent::MouseButtonRelease, centre(1));
    EXPECT_TRUE(w.world.launcher.launchedPaths().empty()) << "let go over another tile";
    EXPECT_EQ(strip().cells()[0]->press.target(), 0);
    mouse(QEvent::MouseButtonRelease, centre(0));
    EXPECT_TRUE(w.world.launcher.launchedPaths().empty()) << "a release without its press";

    click(centre(0));
    EXPECT_EQ(w.world.launcher.launchedPaths(), std::vector<Path>{"/apps/mail.app"});
    EXPECT_EQ(coldLaunches, std::vector<std::string>{"mail"});
    EXPECT_TRUE(strip().cells()[0]->bounce.isBouncing());

    // Once it shows a window, a click raises it.
    w.run(10, "mail", "Mail");
    w.showWindows({window(4, 10, "Mail", kLeft)});
    EXPECT_FALSE(strip().cells()[0]->bounce.isBouncing());
    click(centre(0));
    EXPECT_EQ(raised, std::vector<WindowId>{4});
    EXPECT_EQ(w.world.launcher.launchedPaths().size(), 1u);
}

TEST_F(AppTileView, APressLetGoElsewhereWithNoMoveOfItsOwnIsAClickWhereItWasPressed) {
    open();
    int drags = 0;
    strip().onDragStart = [&](std::size_t) { ++drags; };
    const auto event = [&](QEvent::Type type, QPointF at, Qt::MouseButtons held, quint64 time) {
        QMouseEvent mouse(type, at, strip().mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          held, Qt::NoModifier);
        mouse.setTimestamp(time);
        QApplication::sendEvent(&strip(), &mouse);
    };
    const QPointF away = centre(0) + QPointF(0, -400);
    // The pointer left while the X server held the click back: Qt gives the release where the
    // pointer went as a move there, the button still held, and then the release, of one time.
    event(QEvent::MouseButtonPress, centre(0), Qt::LeftButton, 1000);
    event(QEvent::MouseMove, away, Qt::LeftButton, 2000);
    event(QEvent::MouseButtonRelease, away, Qt::NoButton, 2000);
    w.world.runUntilIdle();
    EXPECT_EQ(drags, 0) << "no drag waits for the release already given";
    EXPECT_EQ(w.world.launcher.launchedPaths(), std::vector<Path>{"/apps/mail.app"});

    // A move of the user's own, before the release, drags the tile out.
    event(QEvent::MouseButtonPress, centre(0), Qt::LeftButton, 3000);
    event(QEvent::MouseMove, away, Qt::LeftButton, 3100);
    w.world.runUntilIdle();
    EXPECT_EQ(drags, 1);
}

TEST_F(AppTileView, ALaunchingIconBouncesAwayFromTheEdgeUnlessMotionIsReduced) {
    open();
    click(centre(0));
    const QRect rest = iconBox(0);
    const double lift = w.appearance->tileSize() * 0.15;
    const QRect above(rest.left(), rest.top() - static_cast<int>(lift) + 1, rest.width(), static_cast<int>(lift) - 2);
    EXPECT_EQ(testing::pixelsNear(testing::rendered(*view), above, kMail, 0), 0);
    int frames = 0;
    w.world.frames.setPacer([&](Task frame) {
        ++frames;
        frame();
    });
    w.world.advance(0.3);
    EXPECT_GT(testing::pixelsNear(testing::rendered(*view), above, kMail, 0), above.width() * above.height() / 2)
        << "out by its bounce at the top of the swing";
    w.world.advance(0.3);
    EXPECT_EQ(testing::pixelsNear(testing::rendered(*view), above, kMail, 0), 0) << "and back";
    // The icon steps a whole pixel at a time each way, most slowly at the ends; the click's
    // press eases meanwhile.
    EXPECT_GE(frames, 2 * static_cast<int>(lift));
    EXPECT_LT(frames, 0.6 / FrameClock::kFrameInterval * 2 / 3) << "frames between its steps are drawn too";

    w.world.appearance.setReduceMotion(true);
    w.world.appearance.notify();
    w.world.advance(0.3);
    EXPECT_EQ(testing::pixelsNear(testing::rendered(*view), above, kMail, 0), 0) << "still under reduced motion";
    EXPECT_GT(testing::pixelsNear(testing::rendered(*view), rest, kMail, 0), 30 * 30);
}

TEST_F(AppTileView, HoveringATileHandsItsBestWindowToTheDock) {
    open({app("mail", "Mail"), app("term", "Term")});
    w.run(10, "mail", "Mail");
    w.showWindows({window(4, 10, "Mail", kLeft)});
    mouse(QEvent::MouseMove, centre(0), Qt::NoButton);
    ASSERT_EQ(hovers.size(), 1u);
    EXPECT_EQ(hovers.back()->id, 4u);
    mouse(QEvent::MouseMove, centre(0) + QPointF(1, 1), Qt::NoButton);
    EXPECT_EQ(hovers.size(), 1u) << "told on a change only";
    mouse(QEvent::MouseMove, centre(1), Qt::NoButton);
    ASSERT_EQ(hovers.size(), 3u);
    EXPECT_FALSE(hovers[1]) << "Mail's hover ends first";
    EXPECT_FALSE(hovers[2]) << "Term shows no window";

    // A hovered running tile that goes ends its hover.
    w.run(20, "draw", "Draw");
    w.showWindows({window(4, 10, "Mail", kLeft), window(5, 20, "Draw", kLeft)});
    mouse(QEvent::MouseMove, centre(2), Qt::NoButton);
    ASSERT_EQ(hovers.back()->id, 5u);
    w.world.apps.terminate(20);
    w.showWindows({window(4, 10, "Mail", kLeft)});
    EXPECT_FALSE(hovers.back());
}

TEST_F(AppTileView, ATilesMenuHoldsTheDockOutAndRunsTheChosenLine) {
    open();
    w.run(10, "mail", "Mail");
    WindowInfo notes = window(4, 10, "Mail", kLeft);
    notes.title = "R&D notes";
    w.showWindows({notes});
    QContextMenuEvent event(QContextMenuEvent::Mouse, centre(0).toPoint(), strip().mapToGlobal(centre(0).toPoint()));
    QApplication::sendEvent(&strip(), &event);
    ModelMenu* menu = view->openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(locks, 1) << "the dock stays out while its menu is open";
    QStringList lines;
    // The text shown, which Qt's mnemonics would cut "&" out of.
    for (QAction* action : menu->actions())
        lines << (action->isSeparator() ? QStringLiteral("--") : action->iconText());
    EXPECT_EQ(lines, (QStringList{"R&D notes", "--", "Hide", "Quit", "--", "Remove from dock"}));

    menu->actions()[3]->trigger();
    menu->close();
    EXPECT_EQ(locks, 0);
    QApplication::processEvents();
    EXPECT_EQ(w.world.apps.quits(), std::vector<Pid>{10});
    EXPECT_EQ(view->openMenu(), nullptr);
}

TEST_F(AppTileView, TooltipsAndAccessibilityNameEachTileAndItsState) {
    const QString longName = QStringLiteral("Documents of the association for the preservation of long names");
    open({app("mail", "Mail"), app("gone", "Gone"), testing::folder(1, "Projects", "/home/u/Projects"),
          testing::folder(2, longName.toStdString(), "/home/u/Long"),
          PinnedTrash{*Uuid::parse("BBBBBBBB-0000-4000-8000-00000000000A")}});
    w.run(10, "mail", "Mail");
    view->show();
    // What the tile shows when the pointer rests on it; none when it takes no tooltip.
    const auto tooltip = [this](std::size_t cell) -> std::optional<QString> {
        const QPoint at = centre(cell).toPoint();
        QHelpEvent help(QEvent::ToolTip, at, strip().mapToGlobal(at));
        QApplication::sendEvent(&strip(), &help);
        const QString text = QToolTip::text();
        QToolTip::hideText();
        return help.isAccepted() ? std::optional(text) : std::nullopt;
    };
    EXPECT_EQ(tooltip(0), QStringLiteral("Mail"));
    EXPECT_EQ(tooltip(1), QStringLiteral("Gone — not found"));
    // Every tile shows its whole name once: in its badge when the badge holds it, else in a tooltip.
    EXPECT_EQ(tooltip(2), std::nullopt) << "the badge names the folder whole";
    EXPECT_EQ(tooltip(3), longName) << "the badge cuts it";
    EXPECT_EQ(tooltip(4), std::nullopt);
    w.appearance->setShowsLabels(true);
    EXPECT_EQ(tooltip(2), QStringLiteral("Projects")) << "labels on, no badge";
    EXPECT_EQ(tooltip(3), longName);
    EXPECT_EQ(tooltip(4), QStringLiteral("Trash"));
    EXPECT_EQ(tooltip(0), QStringLiteral("Mail"));
    w.appearance->setShowsLabels(false);

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&strip());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->childCount(), 5);
    EXPECT_EQ(tile(0)->role(), QAccessible::Button);
    EXPECT_EQ(tile(0)->text(QAccessible::Name), QStringLiteral("Mail"));
    EXPECT_EQ(tile(0)->text(QAccessible::Value), QStringLiteral("running"));
    EXPECT_EQ(tile(1)->text(QAccessible::Name), QStringLiteral("Gone, not found"));
    EXPECT_EQ(tile(1)->text(QAccessible::Value), QString());
    EXPECT_EQ(tile(2)->text(QAccessible::Name), QStringLiteral("Projects"));
    EXPECT_EQ(list->indexOfChild(tile(1)), 1);
    EXPECT_TRUE(tile(0)->rect().contains(strip().mapToGlobal(centre(0).toPoint())));
    EXPECT_FALSE(tile(0)->rect().contains(strip().mapToGlobal(centre(1).toPoint())));

    // Pressed through accessibility as a click presses it.
    tile(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(w.world.alerts.beepCount(), 1) << "Gone cannot be found";
    // The same tile stays the same element while the stores change.
    QAccessibleInterface* mail = tile(0);
    w.pinned->pin("term", "Term", std::nullopt, testing::dockId(1));
    EXPECT_EQ(tile(0), mail);
    EXPECT_EQ(list->childCount(), 6);
    w.pinned->unpin("mail", testing::dockId(1));
    EXPECT_FALSE(mail->isValid());
}

// Pixels of text in the area: far darker than the bar and its highlight.
int textPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 70;
    }
    return count;
}

TEST_F(AppTileView, AFoldersBadgeIsCutOnlyWhereTheStripEnds) {
    open({app("mail", "Mail"), testing::folder(1, "Documents of the year", "/home/u/Documents"), app("term", "Term")});
    mouse(QEvent::MouseMove, centre(1), Qt::NoButton);
    w.world.advance(0.12);
    const QRect tile = strip().tileFrames()[1].translated(strip().geometry().topLeft()).toAlignedRect();
    const QImage shown = testing::rendered(*view);
    // Drawn over the neighbours' bottom edges, whole.
    EXPECT_GT(textPixels(shown, QRect(tile.left() - 40, tile.bottom() - 12, 40, 13)), 10);
    EXPECT_GT(textPixels(shown, QRect(tile.right() + 1, tile.bottom() - 12, 40, 13)), 10);
}

TEST_F(AppTileView, AnApplicationTileNamesItselfInALabelNeverInABadge) {
    open();
    mouse(QEvent::MouseMove, centre(0), Qt::NoButton);
    w.world.advance(0.12);
    const QRect tile = strip().tileFrames()[0].translated(strip().geometry().topLeft()).toAlignedRect();
    const QRect bottom(tile.left(), tile.bottom() - 12, tile.width(), 13);
    EXPECT_FALSE(strip().cells()[0]->content().showsHoverBadge);
    EXPECT_EQ(textPixels(testing::rendered(*view), bottom), 0) << "hovered: the name is in the tooltip only";

    w.appearance->setShowsLabels(true);
    const QRect labelled = strip().tileFrames()[0].translated(strip().geometry().topLeft()).toAlignedRect();
    const QRect label(labelled.left(), labelled.bottom() - 16, labelled.width(), 14);
    EXPECT_GT(textPixels(testing::rendered(*view), label), 10) << "the label under the icon";
}

TEST_F(AppTileView, AMissingApplicationIsFadedAndADraggedTileDimmed) {
    open();
    EXPECT_EQ(strip().cells()[1]->content().iconOpacity, 0.4);
    EXPECT_EQ(strip().cells()[0]->content().iconOpacity, 1);

    w.pinned->setDragSession(DragSession{"app:mail", testing::dockId(2)});
    EXPECT_EQ(strip().cells()[0]->opacity.target(), 0.35)
        << "the same application dims whichever dock it is dragged from";
    EXPECT_EQ(strip().cells()[1]->opacity.target(), 1);
    w.world.advance(0.15);
    EXPECT_EQ(testing::pixelsNear(testing::rendered(*view), iconBox(0), kMail, 8), 0);
    w.pinned->setDragSession(std::nullopt);
    w.world.advance(0.15);
    EXPECT_GT(testing::pixelsNear(testing::rendered(*view), iconBox(0), kMail, 0), 30 * 30);
}

TEST_F(AppTileView, ARunningApplicationWithoutAPictureOfItsOwnShowsItsWindowsPicture) {
    open({});
    const QColor window(10, 200, 200);
    w.icons.paintWindow(30, window);
    w.run(30, std::nullopt, "xeyes");
    w.run(31, std::nullopt, "xclock");
    w.showWindows({testing::window(1, 30, "xeyes", kLeft), testing::window(2, 31, "xclock", kLeft)});
    const QImage image = testing::rendered(*view);
    EXPECT_GT(testing::pixelsNear(image, iconBox(0), window, 0), 30 * 30);
    EXPECT_GT(testing::pixelsNear(image, iconBox(1), testing::ColourIcons::kGeneric, 0), 30 * 30);
}

}  // namespace
}  // namespace quillbern
