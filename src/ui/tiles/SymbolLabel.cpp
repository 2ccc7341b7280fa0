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

QSizeF SymbolLabel::sizeFor(double maxWidth) const {
    const QRectF textBox = textBounds(maxWidth - symbolSide() - spacing());
    return {symbolSide() + spacing() + textBox.width(), std::max(symbolSide(), textBox.height())};
}

void SymbolLabel::paint(QPainter& painter, const QRectF& box) const {
    const QRectF textBox = textBounds(box.width() - symbolSide() - spacing());
    const QSizeF size(symbolSide() + spacing() + textBox.width(), std::max(symbolSide(), textBox.height()));
    const QPointF origin(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2);
    paintSymbol(painter,
                QRectF(origin.x(), origin.y() + (size.height() - symbolSide()) / 2, symbolSide(), symbolSide()), symbol,
                color);
    // A little slack so that laying the text out again breaks its lines where measured.
    const QRectF textRect(origin.x() + symbolSide() + spacing(), origin.y() + (size.height() - textBox.height()) / 2,
                          textBox.width() + 0.5, textBox.height());
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(textRect, kTextFlags, text);
    painter.restore();
}

}  // namespace quillbern
