#pragma once

#include <QColor>

#include "core/model/DockMaterial.h"
#include "ui/model/BackgroundPalette.h"

class QPainter;
class QPainterPath;
class QRectF;

namespace quillbern {

// The background behind every dock bar: a rounded shape filled with the dock's material
// (a translucent fill of the window colour), tinted when a tint is given, and a one-pixel
// inner outline.
struct BarBackground {
    DockMaterial material = DockMaterial::ultraThin;
    double cornerRadius = 13;
    bool reducedTransparency = false;
    // Invalid for none.
    QColor tint;

    void paint(QPainter& painter, const QRectF& bounds, const BackgroundPalette& palette) const;
    // The shape it fills.
    QPainterPath outline(const QRectF& bounds) const;
};

// The background behind summoned overlays (palettes, the launch beacon).
struct SummonableSlab {
    double cornerRadius = 13;
    bool reducedTransparency = false;

    void paint(QPainter& painter, const QRectF& bounds, const BackgroundPalette& palette) const;
    QPainterPath outline(const QRectF& bounds) const;
};

// The opacity of a material's fill.
double fillOpacity(DockMaterial material, bool reducedTransparency, bool canBlend);

}  // namespace quillbern
