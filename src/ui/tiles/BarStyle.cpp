#include "ui/tiles/BarStyle.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <cmath>

#include "core/tiles/DockMetrics.h"

namespace quillbern {

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

void paintSeparator(QPainter& painter, const QRectF& line, const QPalette& palette) {
    constexpr double kSeparatorOpacity = 0.3;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(palette.color(QPalette::WindowText), kSecondaryOpacity * kSeparatorOpacity));
    painter.drawRoundedRect(line, dockbar::kSeparatorCornerRadius, dockbar::kSeparatorCornerRadius);
    painter.restore();
}

QFont barFont(double size, QFont::Weight weight) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(static_cast<int>(std::lround(size)));
    font.setWeight(weight);
    return font;
}

}  // namespace quillbern
