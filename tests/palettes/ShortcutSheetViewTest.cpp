// The shortcut sheet's view under the offscreen platform.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/SimSystemAppearance.h"
#include "sim/SimWorld.h"
#include "support/HeadingAudit.h"
#include "ui/foundation/QtPanelHost.h"
#include "ui/palettes/ElidedLabel.h"
#include "ui/palettes/QtPaletteViewFactory.h"
#include "ui/palettes/ShortcutSheetView.h"

namespace quillbern {
namespace {

const std::vector<ShortcutSheetRow> kRows = {{"All open apps", "Ctrl+Super+A", false, false},
                                             {"Peek at all docks", "Ctrl+Super+P", false, true},
                                             {"Main", "Ctrl+Super+1", true, false}};

QString textOf(const QWidget& view, const char* name) {
    const auto* label = view.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

std::vector<std::string> labelTexts(const QWidget& view) {
    std::vector<std::string> texts;
    for (const QLabel* label : view.findChildren<QLabel*>())
        texts.push_back(label->text().toStdString());
    return texts;
}

std::vector<const ElidedLabel*> names(const QWidget& view) {
    const QList<ElidedLabel*> found = view.findChildren<ElidedLabel*>();
    return {found.begin(), found.end()};
}

TEST(ShortcutSheetView, ShowsTitleTheLinesInOrderAndTheFooter) {
    SimSystemAppearance system;
    ShortcutSheetView view(kRows, system);
    EXPECT_EQ(textOf(view, "title"), "Keyboard shortcuts");
    EXPECT_EQ(textOf(view, "subtitle"), "Everything Quillbern answers to right now.");
    EXPECT_EQ(textOf(view, "footer"), "Press any key to close · change any of these in Settings");
    EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("emptyState")), nullptr);
    ASSERT_EQ(names(view).size(), 3u);
    EXPECT_EQ(names(view)[0]->text(), "All open apps");
    EXPECT_EQ(names(view)[2]->text(), "Main");
    const std::vector<std::string> texts = labelTexts(view);
    for (const char* expected : {"Ctrl+Super+A", "Ctrl+Super+P", "Ctrl+Super+1", "hold"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "hold"), 1) << "only the held shortcut has the badge";
    // At least 380 wide inside its 4-point margin.
    EXPECT_EQ(view.sizeHint().width(), 388);
    view.show();
    EXPECT_THAT(testing::lightHeadings(view), ::testing::IsEmpty());
}

TEST(ShortcutSheetView, WithNoLinesItSaysWhy) {
    SimSystemAppearance system;
    ShortcutSheetView view({}, system);
    EXPECT_EQ(textOf(view, "emptyState"),
              "No shortcuts are registered — global shortcuts are switched off in Settings.");
    EXPECT_LE(view.findChild<QLabel*>(QStringLiteral("emptyState"))->width(), 320);
    EXPECT_EQ(view.list(), nullptr);
    EXPECT_TRUE(textOf(view, "footer").isEmpty());
    EXPECT_EQ(view.sizeHint().width(), 388);
    // Wrapped over more than one line, all of them measured.
    const int lines = view.findChild<QLabel*>(QStringLiteral("emptyState"))->height() /
                      view.findChild<QLabel*>(QStringLiteral("emptyState"))->fontMetrics().lineSpacing();
    EXPECT_GE(lines, 2);
}

TEST(ShortcutSheetView, ALongDockNameLosesItsMiddleWhileTheChordStaysWhole) {
    SimSystemAppearance system;
    const std::string longName = "The dock of every project I ever started and never finished, with a long tail";
    ShortcutSheetView view(
        {{"Search apps", "Ctrl+Super+S", false, false}, {longName, "Ctrl+Alt+Shift+Super+F12", true, false}}, system);
    EXPECT_EQ(view.sizeHint().width(), 568) << "no wider than 560 inside its margin";
    view.resize(view.sizeHint());
    view.show();
    QCoreApplication::processEvents();
    const ElidedLabel* name = names(view)[1];
    const QString shown = name->shownText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("The dock of"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("long tail"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("…")));
    EXPECT_EQ(names(view)[0]->shownText(), "Search apps") << "a short name is shown whole";
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        if (label->text() == "Ctrl+Alt+Shift+Super+F12") {
            EXPECT_GE(label->width(), label->sizeHint().width());
        }
    }
}

TEST(ShortcutSheetView, CutToTheDisplayTheListScrolls) {
    SimSystemAppearance system;
    std::vector<ShortcutSheetRow> rows;
    for (int i = 0; i < 40; ++i)
        rows.push_back({"Dock " + std::to_string(i + 1), "Ctrl+Super+" + std::to_string(i % 10), true, false});
    ShortcutSheetView view(rows, system);
    // 40 lines of 26 with 2 between.
    EXPECT_GT(view.sizeHint().height(), 40 * 26 + 39 * 2);
    view.resize(view.sizeHint().width(), 500);
    view.show();
    QCoreApplication::processEvents();
    ASSERT_NE(view.list(), nullptr);
    QScrollBar* bar = view.list()->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(textOf(view, "footer"), "Press any key to close · change any of these in Settings");
    EXPECT_LE(view.findChild<QLabel*>(QStringLiteral("footer"))->geometry().bottom(), 500);
}

TEST(QtPaletteViewFactory, MeasuresTheViewAndHandsItToThePanelThatShowsIt) {
    SimWorld world;
    SimSystemAppearance system;
    QtPaletteViewFactory factory(system);
    QtPanelHost host(
        world.frames,
        [] {
            return DesktopSpace(RectTL{0, 0, 1920, 1080});
        },
        system, world.keyboardLayout);
    std::shared_ptr<PaletteView> built = factory.shortcutSheet(kRows);
    QPointer<QWidget> widget = paletteWidget(*built);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(built->fittingSize(), (Size{double(widget->sizeHint().width()), double(widget->sizeHint().height())}));

    PanelStyle style;
    style.takesKeyFocus = true;
    const Size size = built->fittingSize();
    auto panel = host.createPanel(style, RectBL{700, 300, size.width, size.height}, built);
    panel->makeKeyAndOrderFront();
    QCoreApplication::processEvents();
    EXPECT_EQ(widget->window()->size(), QSize(int(size.width), int(size.height)));
    EXPECT_EQ(widget->geometry(), widget->window()->rect()) << "the view fills its panel";

    built.reset();
    panel.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(widget.isNull()) << "gone with its panel";

    // A view that never reached a panel goes with its last holder.
    std::shared_ptr<PaletteView> unused = factory.shortcutSheet({});
    QPointer<QWidget> orphan = paletteWidget(*unused);
    unused.reset();
    EXPECT_TRUE(orphan.isNull());
}

}  // namespace
}  // namespace quillbern
