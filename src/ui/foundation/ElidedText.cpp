#include "ui/foundation/ElidedText.h"

#include <QCache>
#include <QFontMetricsF>

namespace quillbern {

namespace {

constexpr int kKeptAnswers = 256;

}  // namespace

QString elidedText(const QFont& font, const QString& text, Qt::TextElideMode mode, double width) {
    thread_local QCache<QString, QString> answers(kKeptAnswers);
    const QString key = font.key() + QChar(0x1f) + QString::number(int(mode)) + QChar(0x1f) +
                        QString::number(width, 'g', 6) + QChar(0x1f) + text;
    if (const QString* known = answers.object(key)) return *known;
    const QString shown = QFontMetricsF(font).elidedText(text, mode, width);
    answers.insert(key, new QString(shown));
    return shown;
}

}  // namespace quillbern
