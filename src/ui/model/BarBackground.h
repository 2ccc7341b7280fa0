#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <optional>

#include "core/model/DockMaterial.h"
#include "ui/model/BackgroundPalette.h"

class QPainter;
class QPainterPath;

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
    bool operator==(const BarBackground&) const = default;

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

// A bar's background drawn once into a picture and copied, in bands, at each paint until
// its look or place changes: drawing its antialiased shape at every repaint of a dock was
// most of the repaint.
class BarBackgroundPicture {
public:
    void paint(QPainter& painter, const BarBackground& background, const QRectF& bounds,
               const BackgroundPalette& palette);

private:
    struct Look {
        DockMaterial material;
        double cornerRadius;
        bool reducedTransparency;
        QRgb tint;
        bool tinted;
        QRgb window, separator;
        bool canBlend;
        QRectF bounds;
        qreal ratio;
        bool operator==(const Look&) const = default;
    };
    std::optional<Look> drawn_;
    QPixmap picture_;
};

// The opacity of a material's fill.
double fillOpacity(DockMaterial material, bool reducedTransparency, bool canBlend);

}  // namespace quillbern
