#include "ui/model/BarBackground.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/foundation/PaintBands.h"

namespace quillbern {

namespace {

QPainterPath roundedOutline(const QRectF& bounds, double cornerRadius) {
    QPainterPath path;
    path.addRoundedRect(bounds, cornerRadius, cornerRadius);
    return path;
}

void paintMaterial(QPainter& painter, const QRectF& bounds, double cornerRadius, double opacity,
                   const BackgroundPalette& palette, const QColor& tint = {}) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette.window;
    fill.setAlphaF(static_cast<float>(opacity));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    const QPainterPath shape = roundedOutline(bounds, cornerRadius);
    painter.drawPath(shape);
    if (tint.isValid()) {
        painter.setBrush(tint);
        painter.drawPath(shape);
    }
    // Stroked half a pixel inside so the whole line lies within the shape.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(palette.separator, 1));
    const QRectF inner = bounds.adjusted(0.5, 0.5, -0.5, -0.5);
    const double innerRadius = std::max(0.0, cornerRadius - 0.5);
    painter.drawRoundedRect(inner, innerRadius, innerRadius);
    painter.restore();
}

}  // namespace

double fillOpacity(DockMaterial material, bool reducedTransparency, bool canBlend) {
    if (reducedTransparency || !canBlend) return 1.0;
    switch (material) {
        case DockMaterial::liquidClear:
        case DockMaterial::ultraThin:
            return 0.55;
        case DockMaterial::liquid:
        case DockMaterial::regular:
            return 0.72;
        case DockMaterial::thick:
            return 0.86;
        case DockMaterial::opaque:
            return 1.0;
    }
    return 1.0;
}

void BarBackground::paint(QPainter& painter, const QRectF& bounds, const BackgroundPalette& palette) const {
    paintMaterial(painter, bounds, cornerRadius, fillOpacity(material, reducedTransparency, palette.canBlend), palette,
                  tint);
}

QPainterPath BarBackground::outline(const QRectF& bounds) const {
    return roundedOutline(bounds, cornerRadius);
}

void SummonableSlab::paint(QPainter& painter, const QRectF& bounds, const BackgroundPalette& palette) const {
    paintMaterial(painter, bounds, cornerRadius,
                  fillOpacity(DockMaterial::thick, reducedTransparency, palette.canBlend), palette);
}

void BarBackgroundPicture::paint(QPainter& painter, const BarBackground& background, const QRectF& bounds,
                                 const BackgroundPalette& palette) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const Look look{background.material,
                    background.cornerRadius,
                    background.reducedTransparency,
                    background.tint.rgba(),
                    background.tint.isValid(),
                    palette.window.rgba(),
                    palette.separator.rgba(),
                    palette.canBlend,
                    bounds,
                    ratio};
    const QRect covered = bounds.toAlignedRect();
    if (drawn_ != look) {
        picture_ = QPixmap(covered.size() * ratio);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::transparent);
        QPainter onPicture(&picture_);
        onPicture.translate(-covered.topLeft());
        paintInBands(
            onPicture, bounds, [&](QPainter& p) { background.paint(p, bounds, palette); }, kCurveBandRows);
        drawn_ = look;
    }
    paintInBands(painter, covered, [&](QPainter& p) { p.drawPixmap(covered.topLeft(), picture_); });
}

QPainterPath SummonableSlab::outline(const QRectF& bounds) const {
    return roundedOutline(bounds, cornerRadius);
}

}  // namespace quillbern
