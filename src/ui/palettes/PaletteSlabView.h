#pragma once

#include <QPainterPath>
#include <QRect>

#include "ui/model/BarBackground.h"

class QPainter;

namespace quillbern {

// A palette draws its slab inside its widget, this far from every edge, leaving room for
// the shadow where a compositor draws one.
inline constexpr int kPaletteSlabInset = 4;

QPainterPath paletteSlabOutline(const SummonableSlab& slab, const QRect& widget);
void paintPaletteSlab(QPainter& painter, const SummonableSlab& slab, const QRect& widget, bool hasCompositor);

}  // namespace quillbern
