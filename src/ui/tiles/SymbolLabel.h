#pragma once

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>
#include <string>

class QPainter;
class QRectF;

namespace quillbern {

// A symbol before a text, as the dock's hint and its access button show them. Where the
// text is wider than the room, it wraps, centred; where even a word does not fit beside
// the symbol, the symbol stands above the text.
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
    struct Arrangement {
        QSizeF text;
        QSizeF size;
        bool stacked = false;
    };

    Arrangement arrange(double maxWidth) const;
    double symbolSide() const;
    double spacing() const;
    QRectF textBounds(double maxTextWidth) const;
};

}  // namespace quillbern
