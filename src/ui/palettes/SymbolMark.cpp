#include "ui/palettes/SymbolMark.h"

#include <QPainter>

#include "ui/foundation/Symbols.h"
#include "ui/palettes/PaletteText.h"

namespace quillbern {

SymbolMark::SymbolMark(std::string symbol, int side, QWidget* parent) : QWidget(parent), symbol_(std::move(symbol)) {
    setFixedSize(side, side);
}

void SymbolMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSymbol(painter, QRectF(rect()), symbol_, secondaryColour(palette()));
}

}  // namespace quillbern
