#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

class QPainter;
class QRectF;
class QSizeF;

namespace quillbern {

// A symbol before a text, as the dock's hint and its access button show them; the text
// wraps, centred, where it is narrower than one line.
struct SymbolLabel {
    std::string symbol;
    QString text;
    QFont font;
    QColor color;

    // The size it takes when at most `maxWidth` wide.
    QSizeF sizeFor(double maxWidth) const;
    // Centred in the box.
    void paint(QPainter& painter, const QRectF& box) const;

private:
    double symbolSide() const;
    double spacing() const;
    QRectF textBounds(double maxTextWidth) const;
};

}  // namespace quillbern
