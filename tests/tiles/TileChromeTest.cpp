#include <QImage>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

#include "tiles/TilesWorld.h"
#include "ui/tiles/TileChrome.h"

namespace quillbern {
namespace {

const QColor kIcon(200, 40, 40);

QPalette lightPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(236, 236, 236));
    palette.setColor(QPalette::WindowText, Qt::black);
    return palette;
}

QImage render(const TileChrome& chrome) {
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    chrome.paint(painter, QPointF(10, 10), lightPalette(),
                 [](QPainter& p, const QRectF& box) { p.fillRect(box, kIcon); });
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

TileChrome chrome(QString name = QStringLiteral("Mail")) {
    TileChrome tile;
    tile.name = std::move(name);
    tile.tileSize = 62;
    tile.cornerRadius = 6;
    return tile;
}

TEST(TileChrome, TheDefaultTileHoldsA38PointIconOverItsDot) {
    EXPECT_EQ(TileChrome::size(62, false), QSizeF(62, 38 + 2 + 4 + 6));
    EXPECT_EQ(TileChrome::size(62, true), QSizeF(62, 38 + 2 + 4 + 2 + 14 + 6));
    EXPECT_EQ(TileChrome::iconBox(QPointF(10, 10), 62), QRectF(22, 13, 38, 38));
    const QImage image = render(chrome());
    EXPECT_EQ(testing::pixelsNear(image, QRect(0, 0, 100, 100), kIcon, 0), 38 * 38) << "whole pixels, sharp";
}

TEST(TileChrome, TheHighlightFollowsTheHover) {
    TileChrome tile = chrome();
    EXPECT_EQ(render(tile).pixelColor(14, 40).alpha(), 0);
    tile.hover = 1;
    EXPECT_NEAR(render(tile).pixelColor(14, 40).alphaF(), 0.1, 0.01);
    tile.hover = 0.5;
    EXPECT_NEAR(render(tile).pixelColor(14, 40).alphaF(), 0.05, 0.01);
}

TEST(TileChrome, TheBadgeFloatsOnlyWithoutLabelsWhileHovered) {
    // The badge stands on the tile's bottom edge, under the icon.
    const QRect badgeArea(10, 52, 62, 8);
    TileChrome tile = chrome();
    tile.showsHoverBadge = true;
    EXPECT_EQ(testing::pixelsNear(render(tile), badgeArea, QColor(236, 236, 236), 4), 0) << "not hovered";
    tile.hover = 1;
    const int shown = testing::pixelsNear(render(tile), badgeArea, QColor(236, 236, 236), 4);
    EXPECT_GT(shown, 40);
    tile.hover = 0.5;
    EXPECT_LT(testing::pixelsNear(render(tile), badgeArea, QColor(236, 236, 236), 4), shown) << "fading in";

    tile.hover = 1;
    tile.showsLabels = true;
    TileChrome plain = tile;
    plain.showsHoverBadge = false;
    EXPECT_EQ(render(tile), render(plain)) << "with labels the badge never shows";
    tile.showsLabels = false;
    tile.showsHoverBadge = false;
    EXPECT_EQ(testing::pixelsNear(render(tile), badgeArea, QColor(236, 236, 236), 4), 0) << "application tiles";
}

TEST(TileChrome, ALongNameIsCutAtItsEndInTheLabelAndInItsMiddleInTheBadge) {
    const QString name = QStringLiteral("Extraordinarily Long Application Name");
    const QString label = TileChrome::shownLabel(name, 62);
    EXPECT_TRUE(label.endsWith(QChar(0x2026))) << label.toStdString();
    EXPECT_TRUE(name.startsWith(label.chopped(1)));
    const QString badge = HoverNameBadge{name}.shownName(62);
    EXPECT_TRUE(badge.contains(QChar(0x2026)) && !badge.endsWith(QChar(0x2026))) << badge.toStdString();
    EXPECT_TRUE(name.endsWith(badge.section(QChar(0x2026), 1)));
    EXPECT_EQ(TileChrome::shownLabel(QStringLiteral("Mail"), 62), QStringLiteral("Mail"));
    EXPECT_GT(TileChrome::shownLabel(name, 120).size(), label.size()) << "the same name on a wider tile";

    // The label never reaches past the tile less 4 points.
    TileChrome tile = chrome(name);
    tile.showsLabels = true;
    const QImage image = render(tile);
    const QRect labelRow(0, 10 + 50, 100, 14);
    int outside = 0;
    for (int y = labelRow.top(); y <= labelRow.bottom(); ++y) {
        for (int x = 0; x < 100; ++x) {
            if ((x < 12 || x >= 70) && image.pixelColor(x, y).alpha() > 0) ++outside;
        }
    }
    EXPECT_EQ(outside, 0);
}

TEST(TileChrome, APressedTileShrinksAboutItsCentre) {
    TileChrome tile = chrome();
    tile.press = 1;
    const int pressed = testing::pixelsNear(render(tile), QRect(0, 0, 100, 100), kIcon, 0);
    EXPECT_NEAR(pressed, 38 * 0.92 * 38 * 0.92, 80);
    const QImage image = render(tile);
    EXPECT_EQ(image.pixelColor(23, 14).alpha(), 0) << "the icon's corner moved inwards";
    EXPECT_EQ(image.pixelColor(41, 32), kIcon) << "its centre stayed";
}

}  // namespace
}  // namespace quillbern
