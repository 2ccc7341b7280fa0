#include "support/HeadingAudit.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QWidget>

namespace quillbern::testing {

namespace {

// The ink of a Japanese and a Chinese sample written in the font: the sum of the darkness
// of every pixel.
long long inkOf(const QFont& font) {
    const QString sample = QStringLiteral("開いているすべてのアプリ 打开的所有应用");
    QImage image(QFontMetrics(font).boundingRect(sample).size() + QSize(8, 8), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, sample);
    painter.end();
    long long ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            ink += 255 - row[x];
    }
    return ink;
}

}  // namespace

std::vector<std::string> lightHeadings(QWidget& window) {
    std::vector<std::string> problems;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QFont heavy = widget->font();
        if (!widget->isVisible() || heavy.weight() <= QFont::Medium) continue;
        QFont regular = heavy;
        regular.setWeight(QFont::Normal);
        // Emboldened letters take a tenth more ink at the least.
        if (inkOf(heavy) * 10 < inkOf(regular) * 11) {
            const auto* label = qobject_cast<const QLabel*>(widget);
            problems.push_back(QStringLiteral("%1 \"%2\" of weight %3")
                                   .arg(QString::fromLatin1(widget->metaObject()->className()),
                                        label ? label->text() : widget->objectName(), QString::number(heavy.weight()))
                                   .toStdString());
        }
    }
    return problems;
}

}  // namespace quillbern::testing
