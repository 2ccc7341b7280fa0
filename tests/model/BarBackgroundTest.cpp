#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

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

TEST(BarBackground, EveryMaterialFillsWithItsOpacityUnlessTransparencyIsReducedOrCannotBlend) {
    const std::pair<DockMaterial, double> materials[] = {
        {DockMaterial::liquidClear, 0.55}, {DockMaterial::liquid, 0.72}, {DockMaterial::ultraThin, 0.55},
        {DockMaterial::regular, 0.72},     {DockMaterial::thick, 0.86},  {DockMaterial::opaque, 1.0}};
    const BackgroundPalette noCompositor{kPalette.window, kPalette.separator, false};
    for (const auto& [material, opacity] : materials) {
        const QColor centre = render({material, 13, false, {}}).pixelColor(60, 20);
        EXPECT_NEAR(centre.alphaF(), opacity, 0.01) << caseName(material);
        EXPECT_EQ(centre.rgb(), QColor(240, 240, 240).rgb()) << "the window colour, untinted";
        EXPECT_EQ(render({material, 13, true, {}}).pixelColor(60, 20).alpha(), 255) << caseName(material);
        EXPECT_EQ(render({material, 13, false, {}}, noCompositor).pixelColor(60, 20).alpha(), 255)
            << caseName(material);
    }
}

TEST(SummonableSlab, ThickFillWithTheOutline) {
    QImage image(120, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    SummonableSlab{13, false}.paint(painter, QRectF(0, 0, 120, 40), kPalette);
    painter.end();
    EXPECT_NEAR(image.pixelColor(60, 20).alphaF(), 0.86, 0.01);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_GT(image.pixelColor(60, 0).alpha(), 0);
}

TEST(BarBackground, RoundedShapeWithAnInnerOutline) {
    const QImage image = render({DockMaterial::opaque, 13, false, {}});
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "the corner lies outside the rounded shape";
    // The outline darkens the border pixels against the fill inside.
    EXPECT_LT(image.pixelColor(60, 0).lightness(), image.pixelColor(60, 20).lightness());
    EXPECT_LT(image.pixelColor(60, 39).lightness(), image.pixelColor(60, 20).lightness());
}
