#include "linux/qt/InterfaceFont.h"

#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <fontconfig/fontconfig.h>

namespace quillbern {

namespace {

bool drawsLatinAtOneWidth(const QFont& font) {
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('M'));
}

// What fontconfig draws English text with where sans-serif is asked for; empty when it has
// nothing to say.
QString latinSansSerif() {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=en"));
    if (!pattern) return {};
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return {};
    FcChar8* family = nullptr;
    QString name;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch)
        name = QString::fromUtf8(reinterpret_cast<const char*>(family));
    FcPatternDestroy(match);
    return name;
}

}  // namespace

QFont withProportionalLatin(const QFont& font) {
    if (!drawsLatinAtOneWidth(font)) return font;
    const QString latin = latinSansSerif();
    if (latin.isEmpty()) return font;
    QFont shown = font;
    shown.setFamilies(QStringList{latin} + font.families());
    return drawsLatinAtOneWidth(shown) ? font : shown;
}

}  // namespace quillbern
