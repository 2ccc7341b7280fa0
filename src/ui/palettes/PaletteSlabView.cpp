#include "ui/palettes/PaletteSlab.h"

#include <QPainter>

namespace quillbern {

namespace {

QRectF slabBounds(const QRect& widget) {
    return QRectF(widget).adjusted(kPaletteSlabInset, kPaletteSlabInset, -kPaletteSlabInset, -kPaletteSlabInset);
}

}  // namespace

QPainterPath paletteSlabOutline(const SummonableSlab& slab, const QRect& widget) {
    return slab.outline(slabBounds(widget));
}

void paintPaletteSlab(QPainter& painter, const SummonableSlab& slab, const QRect& widget, bool hasCompositor) {
    painter.setRenderHint(QPainter::Antialiasing);
    slab.paint(painter, slabBounds(widget), BackgroundPalette::current(hasCompositor));
}

}  // namespace quillbern
