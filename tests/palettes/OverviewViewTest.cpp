// The overview's view under the offscreen platform.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainterPath>
#include <gtest/gtest.h>

#include "core/palettes/OverviewState.h"
#include "sim/SimSystemAppearance.h"
#include "tiles/TilesWorld.h"
#include "ui/palettes/OverviewView.h"
#include "ui/tiles/AuthorizeButton.h"

namespace quillbern {
namespace {

using testing::kLeft;
using testing::window;

class OverviewViewTest : public ::testing::Test {
protected:
    void open(bool trusted = true) {
        w.open({}, trusted);
        state = std::make_shared<OverviewState>(*w.engine, *w.pinned, w.world.apps, w.world.text);
    }
    // Applications 1 to n, each with one window and an icon of its own colour.
    void runApps(int n) {
        std::vector<WindowInfo> windows;
        for (int i = 1; i <= n; ++i) {
            const std::string id = "app" + std::to_string(i);
            w.install(id, "A" + std::to_string(i), kColours[std::size_t(i - 1) % kColours.size()]);
            w.run(i, id, "A" + std::to_string(i));
            windows.push_back(window(WindowId(i), i, "A" + std::to_string(i), kLeft));
        }
        w.showWindows(windows);
    }

    static inline const std::vector<QColor> kColours = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan};
    std::unique_ptr<OverviewView> view() {
        OverviewViewInputs inputs;
        inputs.engine = w.engine.get();
        inputs.state = state;
        inputs.askForAccess = [this] { ++accessAsks; };
        return std::make_unique<OverviewView>(std::move(inputs), system);
    }

    testing::TilesWorld w;
    SimSystemAppearance system;
    std::shared_ptr<OverviewState> state;
    int accessAsks = 0;
};

TEST_F(OverviewViewTest, ARowOfNTilesIsNTimes120PlusItsGapsAndSidesWideAnd176High) {
    open();
    for (int n = 1; n <= 5; ++n) {
        runApps(n);
        const auto shown = view();
        EXPECT_EQ(shown->sizeHint(), QSize(n * 120 + (n - 1) * 8 + 48 + 8, 176 + 8)) << n << " tiles";
        // Its tiles stand 20 below the top, 24 in from the left, 128 apart.
        shown->resize(shown->sizeHint());
        shown->setScrolls(false);
        EXPECT_EQ(shown->row()->tileRect(std::size_t(n - 1)), QRectF(24 + (n - 1) * 128.0, 20, 120, 120));
    }
}

TEST_F(OverviewViewTest, TheNameLineShowsTheSelectedApplicationElseTheDefaultOne) {
    open();
    runApps(3);
    const auto shown = view();
    // Nothing activated or focused: the first entry.
    EXPECT_EQ(shown->nameLine(), "A1");
    state->setSelectedID("app3");
    EXPECT_EQ(shown->nameLine(), "A3");
    state->setSelectedID("gone");
    EXPECT_EQ(shown->nameLine(), "A1");

    // A name longer than the row widens the view to the name and its sides.
    RunningApp longer;
    longer.pid = 9;
    longer.appId = "long";
    longer.name = std::string(80, 'W');
    w.world.apps.launch(longer);
    w.world.runUntilIdle();
    w.showWindows({window(9, 9, "long", kLeft)});
    EXPECT_EQ(shown->nameLine(), QString(80, 'W'));
    EXPECT_GT(shown->sizeHint().width(), 120 + 48 + 8);
}

TEST_F(OverviewViewTest, WithoutWindowAccessACardAsksForItAndWithoutWindowsItSaysSo) {
    open(false);
    runApps(2);
    const auto shown = view();
    ASSERT_TRUE(shown->accessButton());
    EXPECT_TRUE(shown->accessButton()->isVisibleTo(shown.get()));
    EXPECT_TRUE(shown->row()->isHidden());
    EXPECT_TRUE(shown->emptyText()->isHidden());
    EXPECT_EQ(shown->accessButton()->text(), "Check Window Access");
    const auto* text = shown->findChild<QLabel*>(QStringLiteral("cardText"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text(), "Quillbern can't see your windows yet");
    shown->accessButton()->click();
    EXPECT_EQ(accessAsks, 1);

    // Granted while shown: the tiles.
    w.world.permissions.setWindowAccessTrusted(true);
    w.engine->start();
    w.world.advance(WindowEngine::kTrustPollInterval);
    ASSERT_TRUE(w.engine->isTrusted());
    EXPECT_FALSE(shown->accessButton()->isVisibleTo(shown.get()));

    // No window of any application: the empty text, in a slab inside the smallest panel.
    w.world.runUntilIdle();
    EXPECT_TRUE(state->allEntries().empty());
    EXPECT_FALSE(shown->emptyText()->isHidden());
    EXPECT_EQ(shown->emptyText()->text(), "No open apps");
    EXPECT_TRUE(shown->row()->isHidden());
    // Shown, the text keeps its room on every side within the slab, which the panel's
    // shape follows where nothing blends.
    shown->show();
    const QFontMetrics metrics(shown->emptyText()->font());
    const QRectF slab = shown->outline().boundingRect();
    EXPECT_GE(slab.width(), metrics.horizontalAdvance(shown->emptyText()->text()) + 2 * 28);
    EXPECT_GE(slab.height(), metrics.height() + 2 * 28);
}

TEST_F(OverviewViewTest, TheSelectedTileIsLitAndTheOthersAreNot) {
    open();
    runApps(2);
    state->setSelectedID("app2");
    const auto shown = view();
    shown->resize(shown->sizeHint());
    QImage picture(shown->size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    shown->render(&picture);
    // Between the icons' boxes and the tiles' edges: lit only around the selected one.
    const QPoint first = shown->row()->tileRect(0).topLeft().toPoint() + shown->row()->pos() + QPoint(60, 6);
    const QPoint second = shown->row()->tileRect(1).topLeft().toPoint() + shown->row()->pos() + QPoint(60, 6);
    EXPECT_NE(picture.pixel(first), picture.pixel(second));
    // Each tile shows its application's icon.
    const QPoint centre = shown->row()->tileRect(1).center().toPoint() + shown->row()->pos();
    EXPECT_EQ(QColor(picture.pixel(centre)), QColor(Qt::green));
}

TEST_F(OverviewViewTest, ARowThatScrollsBringsTheSelectedTileIntoSight) {
    open();
    runApps(10);
    const auto shown = view();
    shown->setScrolls(true);
    shown->resize(600, shown->sizeHint().height());
    OverviewRow& row = *shown->row();
    ASSERT_TRUE(row.scrolls());
    EXPECT_EQ(row.scrollOffset(), 0);
    EXPECT_GT(row.tileRect(9).right(), row.width()) << "the last tile starts out of sight";

    state->setSelectedID(row.entries().back().id);
    // The row slides there over a tenth of a second.
    QElapsedTimer waited;
    waited.start();
    while (row.tileRect(9).right() > row.width() - 24 && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(row.tileRect(9).right(), row.width() - 24) << "just into sight, its side margin kept";

    // Without scrolling, the same row would be cut: it is centred instead.
    shown->setScrolls(false);
    EXPECT_EQ(row.scrollOffset(), 0);
}

}  // namespace
}  // namespace quillbern
