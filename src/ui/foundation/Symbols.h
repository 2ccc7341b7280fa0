#pragma once

#include <QColor>
#include <QStringList>
#include <QtGlobal>
#include <string_view>
#include <vector>

class QIcon;
class QPainter;
class QRectF;

namespace quillbern {

// The icon-theme names that stand for one of our symbol names, best first; empty for a
// name we do not know.
QStringList themeNamesOfSymbol(std::string_view symbol);

// Every symbol the program draws, each with a picture of the program's own.
std::vector<std::string_view> everySymbol();

// The symbol as an icon: the icon theme's, else the program's own picture of it (of a name
// the program does not know, a question mark), chosen once and kept while the desktop's
// themes stay (steadyThemeIcon); nothing is drawn until then.
QIcon symbolIcon(std::string_view symbol);

// Draws the symbol into the box, as symbolIcon has it. Monochrome symbols take the colour;
// an invalid colour keeps the picture's own colours.
void paintSymbol(QPainter& painter, const QRectF& box, std::string_view symbol, const QColor& color);

// The symbol as an icon of one size, for menus and buttons; in `selectedColor` where it is
// selected, when that is valid.
QIcon symbolIcon(std::string_view symbol, const QColor& color, int side, qreal devicePixelRatio,
                 const QColor& selectedColor = {});

}  // namespace quillbern
