#include "ui/tiles/SymbolLabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap;
constexpr double kSymbolShare = 1.2;
constexpr double kSpacingShare = 0.35;

}  // namespace

double SymbolLabel::symbolSide() const {
    return font.pixelSize() * kSymbolShare;
}

double SymbolLabel::spacing() const {
    return font.pixelSize() * kSpacingShare;
}

QRectF SymbolLabel::textBounds(double maxTextWidth) const {
    return QFontMetricsF(font).boundingRect(QRectF(0, 0, std::max(1.0, maxTextWidth), 1e6), kTextFlags, text);
}

SymbolLabel::Arrangement SymbolLabel::arrange(double maxWidth) const {
    Arrangement arrangement;
    const double besideWidth = maxWidth - symbolSide() - spacing();
    arrangement.text = textBounds(besideWidth).size();
    // A word longer than the room beside the symbol: the symbol goes above the text.
    arrangement.stacked = arrangement.text.width() > besideWidth;
    if (arrangement.stacked) {
        arrangement.text = textBounds(maxWidth).size();
        arrangement.size = {std::max(symbolSide(), arrangement.text.width()),
                            symbolSide() + spacing() + arrangement.text.height()};
    } else {
        arrangement.size = {symbolSide() + spacing() + arrangement.text.width(),
                            std::max(symbolSide(), arrangement.text.height())};
    }
    return arrangement;
}

QSizeF SymbolLabel::sizeFor(double maxWidth) const {
    return arrange(maxWidth).size;
}

void SymbolLabel::paint(QPainter& painter, const QRectF& box) const {
    const Arrangement arrangement = arrange(box.width());
    const QSizeF size = arrangement.size;
    const QPointF origin(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2);
    QRectF symbolBox;
    QPointF textOrigin;
    if (arrangement.stacked) {
        symbolBox = QRectF(box.center().x() - symbolSide() / 2, origin.y(), symbolSide(), symbolSide());
        textOrigin = QPointF(box.center().x() - arrangement.text.width() / 2, symbolBox.bottom() + spacing());
    } else {
        symbolBox = QRectF(origin.x(), origin.y() + (size.height() - symbolSide()) / 2, symbolSide(), symbolSide());
        textOrigin =
            QPointF(symbolBox.right() + spacing(), origin.y() + (size.height() - arrangement.text.height()) / 2);
    }
    paintSymbol(painter, symbolBox, symbol, color);
    // A little slack so that laying the text out again breaks its lines where measured.
    const QRectF textRect(textOrigin, QSizeF(arrangement.text.width() + 0.5, arrangement.text.height()));
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(textRect, kTextFlags, text);
    painter.restore();
}

}  // namespace quillbern
