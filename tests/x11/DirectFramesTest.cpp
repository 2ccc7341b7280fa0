#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <ranges>
#include <set>

#include "Backends.h"
#include "X11TestSupport.h"
#include "core/dock/BeaconMetrics.h"
#include "core/foundation/Clock.h"
#include "sim/SimClock.h"
#include "ui/dock/LaunchBeaconView.h"
#include "ui/foundation/DirectFrames.h"
#include "ui/tiles/TileChrome.h"
#include "ui/tiles/TileStrip.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

constexpr std::uint32_t kStill = 0x3366cc;
constexpr std::uint32_t kMoving = 0xcc3333;
// Where the window stands on the root, and the view in it.
constexpr QPoint kWindowAt{300, 300};
constexpr QPoint kViewAt{10, 10};
constexpr QSize kSquare{10, 10};

// One colour, with a square of another that Qt paints where it stands and that frames put
// straight into the window.
class SquareView final : public QWidget {
public:
    explicit SquareView(QWidget* parent) : QWidget(parent), direct(*this) {}

    bool moveTo(QPoint to, const QRegion& changed, std::optional<DirectFrames::Look> look = {}) {
        square = to;
        return direct.put(
            area.value_or(rect()), changed,
            [&](QPainter& p, const QRect&) {
                ++framesPainted;
                p.fillRect(QRect(square, kSquare), QColor::fromRgb(colour));
            },
            look);
    }

    DirectFrames direct;
    // Where frames go; the whole view unless set.
    std::optional<QRect> area;
    QPoint square;
    std::uint32_t colour = kMoving;
    int paintedByQt = 0;
    int framesPainted = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgb(kStill));
        if (direct.isTakingStill()) return;
        direct.paintedByQt(event->region());
        ++paintedByQt;
        painter.fillRect(QRect(square, kSquare), QColor::fromRgb(colour));
    }
};

// How many opaque pixels of `area` (view coordinates) on screen differ from Qt's painting of
// the view, which stands at the window's origin.
int unlikeQtsPainting(const XProbe& probe, QWidget& view, const QRect& area) {
    QImage painted(view.size(), QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    view.render(&painted);
    const std::vector<std::uint32_t> onScreen =
        probe.pixelsIn(kWindowAt.x() + area.x(), kWindowAt.y() + area.y(), area.width(), area.height());
    if (onScreen.size() != static_cast<std::size_t>(area.width() * area.height())) return -1;
    int differing = 0;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            const QColor qt = painted.pixelColor(area.topLeft() + QPoint(x, y));
            const QColor shown = QColor::fromRgb(onScreen[static_cast<std::size_t>(y * area.width() + x)]);
            const bool alike = std::abs(qt.red() - shown.red()) <= 3 && std::abs(qt.green() - shown.green()) <= 3 &&
                               std::abs(qt.blue() - shown.blue()) <= 3;
            if (qt.alpha() == 255 && !alike) ++differing;
        }
    }
    return differing;
}

// A window the window manager leaves where it is asked to stand.
void standAt(QWidget& window, QSize size) {
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    window.setGeometry(QRect(kWindowAt, size));
    window.show();
}

class DirectFramesOnX : public ::testing::Test {
protected:
    void SetUp() override {
        view = new SquareView(&window);
        view->setGeometry(QRect(kViewAt, QSize(100, 40)));
        standAt(window, {120, 60});
        ASSERT_TRUE(spinUntil([&] { return shown({5, 5}) == kMoving && shown({25, 25}) == kStill; }));
        // The window's depth comes from the server first.
        ASSERT_TRUE(spinUntil([&] { return view->moveTo({20, 0}, QRect(0, 0, 30, 10)); }));
    }
    // The colour on screen at a point of the view.
    std::uint32_t shown(QPoint at) const {
        const QPoint onRoot = kWindowAt + kViewAt + at;
        return probe.pixelAt(onRoot.x(), onRoot.y());
    }

    XProbe probe;
    QWidget window;
    SquareView* view = nullptr;
};

TEST_F(DirectFramesOnX, AFramePutsWhatChangedAndAllOnceQtPaintedAny) {
    EXPECT_TRUE(spinUntil([&] {
        return shown({25, 5}) == kMoving && shown({5, 5}) == kStill;
    })) << "the first frame puts what changed over Qt's paint";
    const int painted = view->paintedByQt;

    ASSERT_TRUE(view->moveTo({40, 0}, QRect(40, 0, 10, 10)));
    EXPECT_TRUE(spinUntil([&] { return shown({45, 5}) == kMoving; }));
    EXPECT_EQ(shown({25, 5}), kMoving) << "what the frame did not change is left as it was";
    EXPECT_EQ(view->paintedByQt, painted) << "without a repaint by Qt";

    view->repaint(QRect(60, 20, 10, 10));
    ASSERT_TRUE(view->moveTo({60, 0}, QRect(60, 0, 10, 10)));
    EXPECT_TRUE(spinUntil([&] {
        return shown({65, 5}) == kMoving && shown({25, 5}) == kStill && shown({45, 5}) == kStill;
    })) << "once Qt painted some of it, the next frame puts it all";

    view->repaint();
    ASSERT_TRUE(view->moveTo({80, 0}, QRect(80, 0, 10, 10)));
    EXPECT_TRUE(spinUntil([&] { return shown({85, 5}) == kMoving; }));
    EXPECT_EQ(shown({65, 5}), kMoving) << "Qt painted all of it: the frame after puts what it changed";
}

TEST_F(DirectFramesOnX, APartThatMovedIsPutWholeUnlessQtJustPaintedWhereItStands) {
    view->area = QRect(0, 0, 60, 40);
    ASSERT_TRUE(view->moveTo({40, 0}, QRect(40, 0, 10, 10)));
    EXPECT_TRUE(spinUntil([&] {
        return shown({45, 5}) == kMoving && shown({25, 5}) == kStill;
    })) << "where an earlier frame went, the part is put whole";

    view->repaint();
    view->area = QRect(0, 0, 80, 40);
    ASSERT_TRUE(view->moveTo({60, 0}, QRect(60, 0, 10, 10)));
    EXPECT_TRUE(spinUntil([&] { return shown({65, 5}) == kMoving; }));
    EXPECT_EQ(shown({45, 5}), kMoving) << "where Qt just painted, what changed is put alone";
}

TEST_F(DirectFramesOnX, AWidgetOverTheAreaOrMoreThanTheServerMayBeLeftLeavesItToQt) {
    auto* over = new QWidget(&window);
    over->setGeometry(50, 20, 20, 20);
    over->show();
    EXPECT_FALSE(view->moveTo({40, 0}, QRect(40, 0, 10, 10)));
    over->hide();
    EXPECT_TRUE(view->moveTo({40, 0}, QRect(40, 0, 10, 10)));

    // Larger than may be sent at once, the part is put whole only by Qt.
    window.resize(300, 60);
    view->resize(280, 40);
    ASSERT_GT(280 * 40 * 4, DirectFrames::kMostUnread);
    EXPECT_FALSE(view->moveTo({60, 0}, QRect(60, 0, 10, 10)));
    view->repaint();
    EXPECT_TRUE(view->moveTo({80, 0}, QRect(60, 0, 30, 10)));
}

TEST_F(DirectFramesOnX, AFrameOfALookComesFromTheServerUntilQtPaintsOverIt) {
    // Square and gap, as a frame changes both where the square was and where it is.
    const QRect there(40, 0, 20, 10);
    ASSERT_TRUE(view->moveTo({40, 0}, there, 1));
    ASSERT_TRUE(view->moveTo({50, 0}, there, 2));
    const int painted = view->framesPainted;
    // Its painting, were it asked again, would show otherwise.
    view->colour = 0x33cc33;
    ASSERT_TRUE(view->moveTo({40, 0}, QRect(40, 0, 10, 10), 1));
    EXPECT_TRUE(spinUntil([&] {
        return shown({45, 5}) == kMoving && shown({55, 5}) == kMoving;
    })) << "only what changed is copied, from the frame kept";
    ASSERT_TRUE(view->moveTo({50, 0}, QRect(50, 0, 10, 10), 2));
    ASSERT_TRUE(view->moveTo({50, 0}, QRect(40, 0, 10, 10), 2));
    EXPECT_TRUE(spinUntil([&] {
        return shown({45, 5}) == kStill && shown({55, 5}) == kMoving;
    })) << "each from its place in the frame kept";
    EXPECT_EQ(view->framesPainted, painted);

    ASSERT_TRUE(view->moveTo({40, 0}, QRect(30, 0, 20, 10), 1));
    EXPECT_TRUE(spinUntil([&] { return shown({45, 5}) == 0x33cc33; })) << "more than was kept is painted";

    view->repaint();
    ASSERT_TRUE(view->moveTo({50, 0}, there, 2));
    ASSERT_TRUE(view->moveTo({40, 0}, there, 1));
    EXPECT_TRUE(spinUntil([&] {
        return shown({45, 5}) == 0x33cc33 && shown({55, 5}) == kStill;
    })) << "once Qt painted over the area, nothing kept before shows";
}

// Four looks, three frames each: the square at four places.
DirectFrames::Round squareRound() {
    const auto placeOf = [](int look) { return QRect(QPoint(look % 4 * 20, 0), kSquare); };
    return {4, [](MediaTime at) { return static_cast<int>(at.seconds * 20) % 4; },
            [=](QPainter& p, int look) { p.fillRect(placeOf(look), QColor::fromRgb(kMoving)); },
            [=](int from, int to) { return QRegion(placeOf(from)) + placeOf(to); }};
}

TEST_F(DirectFramesOnX, ARoundQueuedOnTheServerTurnsWithoutUsAndStopsWithItsWindow) {
    SystemClock clock;
    const QRect area(0, 0, 80, 10);
    view->square = {0, 20};
    view->repaint();
    std::optional<MediaTime> next;
    ASSERT_TRUE(spinUntil([&] {
        // As a view's frames would ask, about once a frame.
        spinFor(10);
        next = view->direct.queue(area, squareRound(), clock.mediaNow());
        return next.has_value();
    })) << "queued once the looks are sent and the display's frames counted";

    // Asked again only when it said, the server shows the square at its places in turn.
    std::set<int> placesSeen;
    int asked = 0;
    const MediaTime end = clock.mediaNow() + 0.5;
    while (clock.mediaNow() < end) {
        if (clock.mediaNow() >= *next) {
            ++asked;
            next = view->direct.queue(area, squareRound(), clock.mediaNow());
            ASSERT_TRUE(next.has_value());
        }
        for (int place = 0; place < 4; ++place) {
            if (shown({place * 20 + 5, 5}) == kMoving) placesSeen.insert(place);
        }
        spinFor(5);
    }
    EXPECT_EQ(placesSeen.size(), 4u);
    EXPECT_LE(asked, 8) << "asked about each frame";

    view->direct.stopQueue();
    const auto allStill = [&] {
        return std::ranges::all_of(std::views::iota(0, 4), [&](int place) {
            return shown({place * 20 + 5, 5}) == kStill;
        });
    };
    ASSERT_TRUE(spinUntil(allStill)) << "Qt's painting shows once the queue's window went";
    for (int sample = 0; sample < 10; ++sample) {
        spinFor(20);
        EXPECT_TRUE(allStill()) << "a frame queued before the stop shows";
    }
}

TEST(LaunchBeaconOnX, TheTurningRingPutStraightInIsTheOneQtWouldPaint) {
    Backends x;
    XProbe probe;
    SimClock clock;
    FrameClock frames(x.loop, clock);
    constexpr double kTileSize = 60;
    BeaconContent content;
    content.tiles = {{"mail", "Mail", nullptr, true}};
    content.tileSize = kTileSize;
    content.cornerRadius = 13;
    content.accent = {0.0, 0.4, 1.0, 1.0};
    QWidget window;
    auto* view = new LaunchBeaconView(content, frames, &window);
    const Size size = beacon::fittingSize(1, kTileSize);
    view->resize(static_cast<int>(size.width), static_cast<int>(size.height));
    standAt(window, view->size());
    const double side = beacon::ringBox(kTileSize);
    const QRect box = QRectF((size.width - side) / 2, (size.height - side) / 2, side, side).toAlignedRect();
    ASSERT_TRUE(
        spinUntil([&] { return probe.pixelAt(kWindowAt.x() + box.center().x(), kWindowAt.y() + box.top() + 2) != 0; }));

    // Frames at a sixtieth of a second, into the second turn which the server keeps, then
    // some at one moment.
    for (int frame = 0; frame < 100; ++frame) {
        clock.advance(FrameClock::kFrameInterval);
        spinFor(20);
    }
    spinFor(100);
    EXPECT_EQ(unlikeQtsPainting(probe, *view, box), 0)
        << "pixels of the ring's box unlike Qt's painting, say an arc's end left behind";
}

// A strip of one tile whose application launches, its icon a red square, shown in `window`.
struct BouncingStrip {
    TileStrip* strip;
    TileLook look;
    TileContent tile;
};
BouncingStrip showBouncingStrip(FrameClock& frames, QWidget& window) {
    BouncingStrip shown{new TileStrip(frames, &window), {}, {}};
    shown.strip->resize(200, 100);
    shown.look.bounceVector = {0, -9};
    shown.look.accent = Qt::blue;
    shown.strip->setLook(shown.look, false);
    QPixmap picture(64, 64);
    picture.fill(QColor(220, 40, 40));
    shown.tile.key = "mail";
    shown.tile.themedIcon = QIcon(picture);
    shown.tile.isLaunching = true;
    shown.strip->setTiles({shown.tile}, false, {});
    standAt(window, shown.strip->size());
    return shown;
}

TEST(TileStripOnX, TheBouncingIconPutStraightInIsTheOneQtWouldPaint) {
    Backends x;
    XProbe probe;
    SimClock clock;
    FrameClock frames(x.loop, clock);
    QWidget window;
    auto [strip, look, tile] = showBouncingStrip(frames, window);
    const QRect icon = TileChrome::iconBox(strip->tileFrames()[0].topLeft(), look.tileSize).toAlignedRect();
    ASSERT_TRUE(spinUntil([&] {
        return probe.pixelAt(kWindowAt.x() + icon.center().x(), kWindowAt.y() + icon.center().y()) == 0xdc2828;
    }));

    // Into the second bounce, whose frames the server keeps from the first, stopping halfway out.
    for (int frame = 0; frame < 45; ++frame) {
        clock.advance(FrameClock::kFrameInterval);
        spinFor(20);
    }
    spinFor(100);
    const QRect area = icon.adjusted(-2, -12, 2, 2);
    EXPECT_EQ(unlikeQtsPainting(probe, *strip, area), 0) << "pixels of the bounce unlike Qt's painting";
}

TEST(TileStripOnX, ABounceQueuedOnTheServerGoesWithTheBounce) {
    Backends x;
    XProbe probe;
    QWidget window;
    auto [strip, look, tile] = showBouncingStrip(x.frames, window);
    // The windows the strip's own holds: the queue's.
    const auto queueWindows = [&] {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(
            probe.c(), xcb_query_tree(probe.c(), static_cast<xcb_window_t>(window.winId())), nullptr);
        const int children = tree ? xcb_query_tree_children_length(tree) : -1;
        std::free(tree);
        return children;
    };
    ASSERT_TRUE(spinUntil([&] { return queueWindows() == 1; }))
        << "the bounce's frames queued in a window of their own";

    tile.isLaunching = false;
    strip->setTiles({tile}, false, {});
    EXPECT_TRUE(spinUntil([&] { return queueWindows() == 0; }));
    spinFor(400);
    const QRect icon = TileChrome::iconBox(strip->tileFrames()[0].topLeft(), look.tileSize).toAlignedRect();
    EXPECT_EQ(unlikeQtsPainting(probe, *strip, icon.adjusted(-2, -12, 2, 2)), 0) << "the icon at rest, as Qt paints it";
}

}  // namespace
