#pragma once

#include <QColor>
#include <QIcon>
#include <QPointF>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/platform/EasedValue.h"
#include "core/platform/MenuModel.h"
#include "core/platform/Types.h"
#include "core/tiles/BounceMotion.h"

class QPainter;
class QPalette;

namespace quillbern {

struct TileChrome;

// What one tile of a strip shows and does, as its dock's view derives it on every change.
struct TileContent {
    // The tile's identity in the strip: it keeps its state while the key stays.
    std::string key;
    QString name;
    // An application's picture; none draws the placeholder symbol unless `themedIcon` is set.
    ImageHandle image;
    QIcon themedIcon;
    // Folder and Trash tiles float their name over them while hovered, without labels.
    bool showsHoverBadge = false;
    // An application that is not installed shows its icon faded.
    double iconOpacity = 1;
    // The running dot's strength; 0 hides it.
    double dotOpacity = 0;
    // The icon bounces while its application launches.
    bool isLaunching = false;
    // The item is being dragged.
    bool isDimmed = false;
    // The whole name, and what more there is to say; shown unless the hovered tile's badge
    // shows the whole name already.
    QString toolTip;
    QString accessibleName;
    QString accessibleValue;
    // What the tile does; each may be unset.
    Task activate;
    std::function<void(bool)> hover;
    std::function<MenuModel()> menu;
};

// The look every tile of a dock shares.
struct TileLook {
    double tileSize = 62;
    bool showsLabels = false;
    // The bar's corner radius; a tile's highlight derives its own from it.
    double barCornerRadius = 13;
    // Where a launching tile's icon bounces to, in points; none under reduced motion.
    QPointF bounceVector;
    // The running dot's colour.
    QColor accent;
    bool operator==(const TileLook&) const = default;
};

// One tile of a dock's strip: its content, updated in place, and the state of its own that
// outlives changes of the content: hover, press, the dot's and the dimming's fades and the
// bounce.
class TileCell {
public:
    static constexpr Animation kHoverAnimation{0.12, AnimationCurve::easeOut};
    static constexpr Animation kPressAnimation{0.08, AnimationCurve::easeOut};
    static constexpr Animation kDotAnimation{0.2, AnimationCurve::easeInOut};
    static constexpr Animation kDimAnimation{0.15, AnimationCurve::easeOut};
    // A dragged tile's opacity.
    static constexpr double kDimmedOpacity = 0.35;

    // A tile that appears already launching bounces from the start.
    TileCell(TileContent content, MediaTime now);
    TileCell(const TileCell&) = delete;
    TileCell& operator=(const TileCell&) = delete;

    const std::string& key() const { return content_.key; }
    const TileContent& content() const { return content_; }
    // Whether the tile now draws differently (what it does may change unseen).
    bool setContent(TileContent content, MediaTime now);

    // Into the tile's box at `origin`, as it stands at `now`, its name badge at most
    // `badgeRoom` wide; its icon bounced out by `bounceShare` of the way where given.
    void paint(QPainter& painter, const QPointF& origin, const TileLook& look, const QPalette& palette, MediaTime now,
               double badgeRoom = 0, std::optional<double> bounceShare = std::nullopt) const;
    bool isMoving(MediaTime now) const;
    // Whether anything but the bounce moves: a bounce alone moves only the icon.
    bool isMovingBesidesBounce(MediaTime now) const;
    // Where the bounce has moved the icon at `now`, in whole device pixels of `ratio`: the
    // icon steps only a few pixels each way, so most frames show it where the last did.
    QPointF bounceOffset(const TileLook& look, MediaTime now, qreal ratio) const;
    static QPointF bounceOffset(const TileLook& look, double share, qreal ratio);
    // Hovering the tile shows its whole name in its badge, so it needs no tooltip.
    bool badgeShowsWholeName(const TileLook& look, double badgeRoom) const;

    EasedValue hover;
    EasedValue press;
    EasedValue dot;
    EasedValue opacity;
    BounceMotion bounce;

private:
    TileChrome chrome(const TileLook& look, double badgeRoom) const;

    TileContent content_;
    QIcon icon_;
};

}  // namespace quillbern
