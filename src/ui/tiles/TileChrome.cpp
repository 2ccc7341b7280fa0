#include "ui/tiles/TileChrome.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "core/tiles/DockMetrics.h"
#include "ui/foundation/ElidedText.h"
#include "ui/tiles/BarStyle.h"

namespace quillbern {

namespace {

constexpr double kLabelOpacity = 0.85;
constexpr double kHighlightOpacity = 0.1;

// Whole pixels keep icons sharp; a pressed tile is scaled anyway.
QRectF snapped(const QRectF& box) {
    return QRectF(std::round(box.x()), std::round(box.y()), std::round(box.width()), std::round(box.height()));
}

}  // namespace

QSizeF TileChrome::size(double tileSize, bool showsLabels) {
    return {tileSize, dockbar::tileHeight(tileSize, showsLabels)};
}

QRectF TileChrome::iconBox(const QPointF& origin, double tileSize) {
    const double side = dockbar::iconSide(tileSize);
    return {origin.x() + (tileSize - side) / 2, origin.y() + dockbar::kChromePadding, side, side};
}

QString TileChrome::shownLabel(const QString& name, double tileSize) {
    return elidedText(barFont(dockbar::kLabelFontSize), name, Qt::ElideRight, tileSize - dockbar::kLabelInset);
}

double TileChrome::badgeWidth() const {
    return std::max(tileSize, badgeRoom);
}

bool TileChrome::badgeShowsWholeName() const {
    return hasBadge() && HoverNameBadge{name}.shownName(badgeWidth()) == name;
}

void TileChrome::paint(QPainter& painter, const QPointF& origin, const QPalette& palette, const TilePart& icon,
                       const TilePart& dot) const {
    const QRectF box(origin, size(tileSize, showsLabels));
    painter.save();
    if (press > 0) {
        const double scale = 1 - (1 - dockbar::kPressedScale) * press;
        painter.translate(box.center());
        painter.scale(scale, scale);
        painter.translate(-box.center());
    }
    if (hover > 0) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(palette.color(QPalette::WindowText), kHighlightOpacity * hover));
        painter.drawRoundedRect(box, cornerRadius, cornerRadius);
    }
    const QRectF iconRect = iconBox(origin, tileSize);
    if (icon) icon(painter, press > 0 ? iconRect : snapped(iconRect));
    const double dotTop = iconRect.bottom() + dockbar::kChromeSpacing;
    const QRectF dotRect(box.center().x() - dockbar::kDotSize / 2, dotTop, dockbar::kDotSize, dockbar::kDotSize);
    if (dot) dot(painter, dotRect);
    if (showsLabels) {
        const double labelWidth = tileSize - dockbar::kLabelInset;
        const QRectF labelRect(box.center().x() - labelWidth / 2, dotRect.bottom() + dockbar::kChromeSpacing,
                               labelWidth, dockbar::kLabelLineHeight);
        painter.setFont(barFont(dockbar::kLabelFontSize));
        painter.setPen(withOpacity(palette.color(QPalette::WindowText), kLabelOpacity));
        painter.drawText(labelRect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                         shownLabel(name, tileSize));
    } else if (hasBadge() && hover > 0) {
        HoverNameBadge{name}.paint(painter, QPointF(box.center().x(), box.bottom()), badgeWidth(), palette, hover);
    }
    painter.restore();
}

namespace {

QFont badgeFont() {
    return barFont(dockbar::kBadgeFontSize, QFont::Medium);
}

double badgeTextWidth(double maxWidth) {
    return std::max(0.0, maxWidth - 2 * dockbar::kBadgeHorizontalPadding);
}

}  // namespace

QString HoverNameBadge::shownName(double maxWidth) const {
    return elidedText(badgeFont(), name, Qt::ElideMiddle, badgeTextWidth(maxWidth));
}

void HoverNameBadge::paint(QPainter& painter, const QPointF& bottomCentre, double maxWidth, const QPalette& palette,
                           double opacity) const {
    const QFont font = badgeFont();
    const QFontMetricsF metrics(font);
    const QString shown = shownName(maxWidth);
    const double textWidth = std::min(metrics.horizontalAdvance(shown), badgeTextWidth(maxWidth));
    const double width = textWidth + 2 * dockbar::kBadgeHorizontalPadding;
    const double height = metrics.height() + 2 * dockbar::kBadgeVerticalPadding;
    const QRectF capsule(bottomCentre.x() - width / 2, bottomCentre.y() - height, width, height);
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(palette.color(QPalette::Window), kThickMaterialOpacity));
    painter.drawRoundedRect(capsule, height / 2, height / 2);
    painter.setFont(font);
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(capsule, Qt::AlignCenter | Qt::TextSingleLine, shown);
    painter.restore();
}

}  // namespace quillbern
