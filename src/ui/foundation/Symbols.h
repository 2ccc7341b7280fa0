#pragma once

#include <QStringList>
#include <QtGlobal>
#include <string_view>

class QColor;
class QIcon;
class QPainter;
class QRectF;

namespace quillbern {

// The icon-theme names that stand for one of our symbol names, best first; empty for a
// name we do not know.
QStringList themeNamesOfSymbol(std::string_view symbol);

// The symbol as an icon: the icon theme's, else our own drawing of it.
QIcon symbolIcon(std::string_view symbol);

// Draws the symbol into the box: from the icon theme when it has one of its names, else
// our own drawing of it. Monochrome symbols take the colour; an invalid colour keeps the
// theme's own colours.
void paintSymbol(QPainter& painter, const QRectF& box, std::string_view symbol, const QColor& color);

// The symbol as an icon of one size, for menus and buttons.
QIcon symbolIcon(std::string_view symbol, const QColor& color, int side, qreal devicePixelRatio);

}  // namespace quillbern
