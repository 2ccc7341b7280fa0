#include "ui/settings/SymbolButton.h"

#include <QPainter>

#include "ui/foundation/Symbols.h"

namespace quillbern {

SymbolButton::SymbolButton(std::string_view symbol, int side, const QString& help, QWidget* parent)
    : SettingsIconButton(help, parent), symbol_(symbol), side_(side) {
    setFixedSize(sizeHint());
}

void SymbolButton::setSymbol(std::string_view symbol, const QColor& color) {
    if (symbol == symbol_ && color == color_) return;
    symbol_ = std::string(symbol);
    color_ = color;
    update();
}

void SymbolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) painter.setOpacity(0.4);
    // Pressed or hovered, the symbol darkens a little, as a plain button does.
    if (isDown()) painter.setOpacity(painter.opacity() * 0.6);
    const QRectF box((width() - side_) / 2.0, (height() - side_) / 2.0, side_, side_);
    paintSymbol(painter, box, symbol_, color_);
    paintFocusRing(painter, QRectF(rect()), 6);
}

}  // namespace quillbern
