#include "ui/dock/RingPicture.h"

#include <QColor>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillbern {

namespace {

double square(double value) {
    return value * value;
}

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

}  // namespace

QImage ringPicture(double side, double ratio, double lineWidth, const QColor& colour, const std::optional<RingArc>& arc,
                   const std::optional<QRect>& within) {
    const int pixels = static_cast<int>(std::ceil(side * ratio));
    const QRect drawn = within.value_or(QRect(0, 0, pixels, pixels));
    QImage picture(drawn.size(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    if (drawn.isEmpty()) return picture;
    // In device pixels, y upwards from the centre, as the angles count.
    const double centre = side * ratio / 2;
    const double radius = (side - lineWidth) / 2 * ratio;
    const double half = lineWidth / 2 * ratio;
    const double start = radians(arc ? arc->start : 0);
    const double span = radians(arc ? arc->span : 360);
    const double startX = radius * std::cos(start), startY = radius * std::sin(start);
    const double endX = radius * std::cos(start + span), endY = radius * std::sin(start + span);
    // A point lies within the arc when it is no further from the arc's middle, in angle, than
    // half the span.
    const double middleX = std::cos(start + span / 2), middleY = std::sin(start + span / 2);
    const double halfSpanCos = std::cos(std::abs(span) / 2);
    // Only the pixels within half a pixel of the line's band are looked at.
    const double inner = std::max(radius - half - 0.5, 0.0);
    const double outer = radius + half + 0.5;
    for (int row = drawn.top(); row <= drawn.bottom(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(row - drawn.top()));
        const double y = centre - (row + 0.5);
        if (std::abs(y) >= outer) continue;
        const double reach = std::sqrt(outer * outer - y * y);
        const double gap = std::abs(y) < inner ? std::sqrt(inner * inner - y * y) : 0;
        const auto cover = [&](int column) {
            const double x = column + 0.5 - centre;
            // Outside the line by this much; negative within it.
            const double distance = std::sqrt(x * x + y * y);
            double outside = std::abs(distance - radius) - half;
            if (outside >= 0.5) return;
            if (arc && x * middleX + y * middleY < distance * halfSpanCos) {
                // Beyond the arc, only the round ends reach: most pixels are far from both.
                const double nearest =
                    std::min(square(x - startX) + square(y - startY), square(x - endX) + square(y - endY));
                if (nearest >= square(half + 0.5)) return;
                outside = std::sqrt(nearest) - half;
            }
            const double covered = std::clamp(0.5 - outside, 0.0, 1.0);
            line[column - drawn.left()] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(),
                                                             static_cast<int>(std::lround(colour.alpha() * covered))));
        };
        const auto columns = [&](double from, double to) {
            const int first = std::max(static_cast<int>(std::floor(centre + from - 0.5)), drawn.left());
            const int last = std::min(static_cast<int>(std::ceil(centre + to - 0.5)), drawn.right());
            for (int column = first; column <= last; ++column)
                cover(column);
        };
        columns(-reach, -gap);
        columns(gap, reach);
    }
    return picture;
}

}  // namespace quillbern
