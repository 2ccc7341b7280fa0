#include "ui/tiles/TileCell.h"

#include <QPainter>
#include <cmath>

#include "core/tiles/DockMetrics.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/Symbols.h"
#include "ui/tiles/TileChrome.h"

namespace quillbern {

namespace {

QIcon iconOf(const TileContent& content) {
    return content.image ? qIcon(content.image) : content.themedIcon;
}

double opacityOf(const TileContent& content) {
    return content.isDimmed ? TileCell::kDimmedOpacity : 1;
}

}  // namespace

TileCell::TileCell(TileContent content, MediaTime now)
    : dot(content.dotOpacity), opacity(opacityOf(content)), content_(std::move(content)), icon_(iconOf(content_)) {
    bounce.setBouncing(content_.isLaunching, now);
}

bool TileCell::setContent(TileContent content, MediaTime now) {
    const bool sameIcon =
        content.image == content_.image && content.themedIcon.cacheKey() == content_.themedIcon.cacheKey();
    const bool looksSame = sameIcon && content.name == content_.name &&
                           content.showsHoverBadge == content_.showsHoverBadge &&
                           content.iconOpacity == content_.iconOpacity && content.dotOpacity == content_.dotOpacity &&
                           content.isLaunching == content_.isLaunching && content.isDimmed == content_.isDimmed;
    dot.animateTo(content.dotOpacity, kDotAnimation, now);
    opacity.animateTo(opacityOf(content), kDimAnimation, now);
    bounce.setBouncing(content.isLaunching, now);
    content_ = std::move(content);
    if (!sameIcon) icon_ = iconOf(content_);
    return !looksSame;
}

TileChrome TileCell::chrome(const TileLook& look, double badgeRoom) const {
    TileChrome chrome;
    chrome.name = content_.name;
    chrome.tileSize = look.tileSize;
    chrome.showsLabels = look.showsLabels;
    chrome.cornerRadius = dockbar::tileCornerRadius(look.barCornerRadius);
    chrome.showsHoverBadge = content_.showsHoverBadge;
    chrome.badgeRoom = badgeRoom;
    return chrome;
}

bool TileCell::badgeShowsWholeName(const TileLook& look, double badgeRoom) const {
    return chrome(look, badgeRoom).badgeShowsWholeName();
}

bool TileCell::isMoving(MediaTime now) const {
    return isMovingBesidesBounce(now) || bounce.isMoving(now);
}

bool TileCell::isMovingBesidesBounce(MediaTime now) const {
    return hover.isMoving(now) || press.isMoving(now) || dot.isMoving(now) || opacity.isMoving(now);
}

QPointF TileCell::bounceOffset(const TileLook& look, MediaTime now, qreal ratio) const {
    return bounceOffset(look, bounce.value(now), ratio);
}

QPointF TileCell::bounceOffset(const TileLook& look, double share, qreal ratio) {
    const QPointF offset = look.bounceVector * share * ratio;
    return QPointF(std::round(offset.x()), std::round(offset.y())) / ratio;
}

void TileCell::paint(QPainter& painter, const QPointF& origin, const TileLook& look, const QPalette& palette,
                     MediaTime now, double badgeRoom, std::optional<double> bounceShare) const {
    const double shown = opacity.value(now);
    if (shown <= 0) return;
    painter.save();
    painter.setOpacity(painter.opacity() * shown);
    TileChrome chrome = this->chrome(look, badgeRoom);
    chrome.hover = hover.value(now);
    chrome.press = press.value(now);
    const QPointF offset =
        bounceOffset(look, bounceShare.value_or(bounce.value(now)), painter.device()->devicePixelRatioF());
    const double iconOpacity = content_.iconOpacity;
    const auto icon = [this, offset, iconOpacity](QPainter& p, const QRectF& box) {
        p.save();
        p.setOpacity(p.opacity() * iconOpacity);
        const QRectF moved = box.translated(offset);
        if (icon_.isNull()) {
            paintSymbol(p, moved, "questionmark.app.dashed", QColor());
        } else {
            paintIconFitted(p, moved, icon_);
        }
        p.restore();
    };
    const double dotShown = dot.value(now);
    const QColor accent = look.accent;
    const auto statusDot = [dotShown, accent](QPainter& p, const QRectF& box) {
        if (dotShown <= 0) return;
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        QColor fill = accent;
        fill.setAlphaF(static_cast<float>(fill.alphaF() * dotShown));
        p.setBrush(fill);
        p.drawEllipse(box);
        p.restore();
    };
    chrome.paint(painter, origin, palette, icon, statusDot);
    painter.restore();
}

}  // namespace quillbern
