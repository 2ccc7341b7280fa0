#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>

#include "linux/qt/InterfaceFont.h"

using namespace quillbern;

namespace {

// The families that draw the text.
std::string familiesDrawing(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList families;
    for (const QGlyphRun& run : layout.glyphRuns())
        families << run.rawFont().familyName();
    return families.join(", ").toStdString();
}

}  // namespace

// What Qt asks fontconfig for under Japanese on a desktop without a font setting: VL Gothic
// (fonts-vlgothic, which scripts/setup installs) draws Latin letters at one width.
TEST(InterfaceFont, LatinLettersGetTheirOwnWidthsWhileJapaneseKeepsItsFace) {
    const QFont japanese(QStringLiteral("VL Gothic"), 10);
    ASSERT_EQ(QFontMetricsF(japanese).horizontalAdvance(QLatin1Char('i')),
              QFontMetricsF(japanese).horizontalAdvance(QLatin1Char('M')));

    const QFont shown = withProportionalLatin(japanese);
    EXPECT_LT(QFontMetricsF(shown).horizontalAdvance(QLatin1Char('i')),
              QFontMetricsF(shown).horizontalAdvance(QLatin1Char('M')));
    const std::string face = QFontInfo(japanese).family().toStdString();
    EXPECT_NE(familiesDrawing(QStringLiteral("Quillbern"), shown), face);
    EXPECT_EQ(familiesDrawing(QStringLiteral("の設定"), shown), face);
    EXPECT_EQ(shown.pointSizeF(), japanese.pointSizeF());

    const QFont latin = withProportionalLatin(shown);
    EXPECT_EQ(latin, shown) << "a font that draws Latin letters at their own widths stays as it is";
}
