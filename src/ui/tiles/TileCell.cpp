#include "ui/tiles/TileCell.h"

#include <QPainter>

#include "core/tiles/DockMetrics.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/Symbols.h"
#include "ui/tiles/TileChrome.h"

namespace quillbern {

namespace {

QIcon iconOf(const TileContent& content) {
    return content.image ? qIcon(content.image) : content.themedIcon;
}

}  // namespace

TileCell::TileCell(TileContent content) : content_(std::move(content)), icon_(iconOf(content_)) {}

void TileCell::setContent(TileContent content) {
    const bool sameIcon =
        content.image == content_.image && content.themedIcon.cacheKey() == content_.themedIcon.cacheKey();
    content_ = std::move(content);
    if (!sameIcon) icon_ = iconOf(content_);
}

void TileCell::paint(QPainter& painter, const QPointF& origin, const TileLook& look, const QPalette& palette,
                     MediaTime now) const {
    TileChrome chrome;
    chrome.name = content_.name;
    chrome.tileSize = look.tileSize;
    chrome.showsLabels = look.showsLabels;
    chrome.cornerRadius = dockbar::tileCornerRadius(look.barCornerRadius);
    chrome.hover = hover.value(now);
    chrome.showsHoverBadge = content_.showsHoverBadge;
    chrome.press = press.value(now);
    chrome.paint(painter, origin, palette, [this](QPainter& p, const QRectF& box) {
        if (icon_.isNull()) {
            paintSymbol(p, box, "questionmark.app.dashed", QColor());
            return;
        }
        paintIconFitted(p, box, icon_);
    });
}

}  // namespace quillbern
