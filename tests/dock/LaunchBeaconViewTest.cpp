#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <gtest/gtest.h>
#include <numbers>

#include "core/dock/BeaconMetrics.h"
#include "sim/SimWorld.h"
#include "ui/dock/LaunchBeaconView.h"

namespace quillbern {
namespace {

constexpr Color kAccent{0.0, 0.4, 1.0, 1.0};
constexpr double kTileSize = 60;

// The areas of the paints the view was asked for.
class PaintedAreas final : public QObject {
public:
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

class LaunchBeacon : public ::testing::Test {
protected:
    // One launching tile, then one that arrived.
    void open() {
        BeaconContent content;
        content.tiles = {{"mail", "Mail", nullptr, true}, {"notes", "Notes", nullptr, false}};
        content.tileSize = kTileSize;
        content.cornerRadius = 13;
        content.accent = kAccent;
        view = std::make_unique<LaunchBeaconView>(content, world.frames, nullptr);
        const Size size = beacon::fittingSize(2, kTileSize);
        view->resize(static_cast<int>(size.width), static_cast<int>(size.height));
    }
    QImage render() const {
        QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        view->render(&image);
        return image;
    }
    // The middle of the ring's line, at a clock position of the tile's ring (12 is the top).
    static QPoint onRing(int tile, int hour) {
        const double box = beacon::ringBox(kTileSize);
        const double radius = (box - beacon::ringWidth(kTileSize)) / 2;
        const double angle = hour * 30 * std::numbers::pi / 180;
        const double x = beacon::kMargin + tile * (box + beacon::kTileSpacing) + box / 2 + radius * std::sin(angle);
        const double y = beacon::kMargin + box / 2 - radius * std::cos(angle);
        return {static_cast<int>(x), static_cast<int>(y)};
    }
    static bool isAccent(const QImage& image, QPoint at) {
        const QColor colour = image.pixelColor(at);
        return colour.blue() > 200 && colour.red() < 60;
    }

    SimWorld world;
    std::unique_ptr<LaunchBeaconView> view;
};

TEST_F(LaunchBeacon, TheArcTurnsClockwiseFromTheTopWhileTheArrivedRingIsWhole) {
    open();
    const QImage first = render();
    EXPECT_TRUE(isAccent(first, onRing(0, 12)));
    EXPECT_TRUE(isAccent(first, onRing(0, 2)));
    EXPECT_FALSE(isAccent(first, onRing(0, 6)));
    EXPECT_FALSE(isAccent(first, onRing(0, 9)));
    for (const int hour : {12, 3, 6, 9})
        EXPECT_TRUE(isAccent(first, onRing(1, hour))) << hour << " o'clock of the arrived tile";

    world.advance(LaunchBeaconView::kTurn / 2);
    const QImage half = render();
    EXPECT_FALSE(isAccent(half, onRing(0, 12)));
    EXPECT_FALSE(isAccent(half, onRing(0, 3)));
    EXPECT_TRUE(isAccent(half, onRing(0, 6)));
    EXPECT_TRUE(isAccent(half, onRing(0, 9)));
}

TEST_F(LaunchBeacon, AFrameRepaintsTheTurningRingAlone) {
    open();
    view->show();
    QApplication::processEvents();
    PaintedAreas areas;
    view->installEventFilter(&areas);
    world.advance(FrameClock::kFrameInterval);
    QApplication::processEvents();
    const double box = beacon::ringBox(kTileSize);
    const QRect ring = QRectF(beacon::kMargin, beacon::kMargin, box, box).toAlignedRect();
    EXPECT_EQ(areas.painted, QRegion(ring));
}

}  // namespace
}  // namespace quillbern
