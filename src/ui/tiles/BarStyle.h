#pragma once

#include <QColor>
#include <QFont>

class QPainter;
class QPalette;
class QRectF;

namespace quillbern {

// The secondary style of texts and symbols on a bar: the text colour, subdued.
inline constexpr double kSecondaryOpacity = 0.55;
// A badge's backing stands out of the bar behind it.
inline constexpr double kThickMaterialOpacity = 0.94;

// The colour at this share of its own opacity.
QColor withOpacity(QColor color, double opacity);

// The thin rounded line between a dock's pinned items and what follows them.
void paintSeparator(QPainter& painter, const QRectF& line, const QPalette& palette);

// The system font at a size in points (one point is one pixel of the dock's geometry).
QFont barFont(double size, QFont::Weight weight = QFont::Normal);

}  // namespace quillbern
