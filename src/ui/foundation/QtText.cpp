#include "ui/foundation/QtText.h"

#include <QApplication>
#include <QTextDocument>
#include <cmath>

#include "core/foundation/Localization.h"

namespace quillbern {

QString localized(std::string_view english) {
    return QString::fromStdString(quillbern::tr(english));
}

QString menuTitle(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size())).replace(u'&', QStringLiteral("&&"));
}

QString toolTipAsWritten(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
}

QFont fontOfSize(double size, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPixelSize(int(std::lround(size)));
    font.setWeight(weight);
    return font;
}

}  // namespace quillbern
