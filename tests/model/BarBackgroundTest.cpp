#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ui/model/BarBackground.h"

using namespace quillbern;

namespace {

const BackgroundPalette kPalette{QColor(240, 240, 240), QColor(0, 0, 0, 46), true};

QImage render(const BarBackground& background, const BackgroundPalette& palette = kPalette) {
    QImage image(120, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    background.paint(painter, QRectF(0, 0, 120, 40), palette);
    return image;
}

}  // namespace

TEST(BarBackground, MaterialsFillWithTheirOpacityUnlessTransparencyIsReducedOrCannotBlend) {
    EXPECT_NEAR(render({DockMaterial::ultraThin, 13, false}).pixelColor(60, 20).alphaF(), 0.55, 0.01);
    EXPECT_NEAR(render({DockMaterial::regular, 13, false}).pixelColor(60, 20).alphaF(), 0.72, 0.01);
    EXPECT_NEAR(render({DockMaterial::liquid, 13, false}).pixelColor(60, 20).alphaF(), 0.72, 0.01);
    EXPECT_EQ(render({DockMaterial::opaque, 13, false}).pixelColor(60, 20), QColor(240, 240, 240));
    EXPECT_EQ(render({DockMaterial::ultraThin, 13, true}).pixelColor(60, 20).alpha(), 255);
    const BackgroundPalette noCompositor{kPalette.window, kPalette.separator, false};
    EXPECT_EQ(render({DockMaterial::ultraThin, 13, false}, noCompositor).pixelColor(60, 20).alpha(), 255);
}

TEST(BarBackground, RoundedShapeWithAnInnerOutline) {
    const QImage image = render({DockMaterial::opaque, 13, false});
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "the corner lies outside the rounded shape";
    // The outline darkens the border pixels against the fill inside.
    EXPECT_LT(image.pixelColor(60, 0).lightness(), image.pixelColor(60, 20).lightness());
    EXPECT_LT(image.pixelColor(60, 39).lightness(), image.pixelColor(60, 20).lightness());
}
