#pragma once

#include <QIcon>
#include <QString>
#include <string>

#include "core/platform/EasedValue.h"
#include "core/platform/Types.h"

class QPainter;
class QPalette;
class QPointF;

namespace quillbern {

// What one tile of a strip shows, as its dock's view derives it on every change.
struct TileContent {
    // The tile's identity in the strip: it keeps its state while the key stays.
    std::string key;
    QString name;
    // An application's picture; none draws the placeholder symbol unless `themedIcon` is set.
    ImageHandle image;
    QIcon themedIcon;
    // Folder and Trash tiles float their name over them while hovered, without labels.
    bool showsHoverBadge = false;
};

// The look every tile of a dock shares.
struct TileLook {
    double tileSize = 62;
    bool showsLabels = false;
    // The bar's corner radius; a tile's highlight derives its own from it.
    double barCornerRadius = 13;
    bool operator==(const TileLook&) const = default;
};

// One tile of a dock's strip: its content, updated in place, and the state of its own that
// outlives changes of the content (hover and press).
class TileCell {
public:
    static constexpr Animation kHoverAnimation{0.12, AnimationCurve::easeOut};
    static constexpr Animation kPressAnimation{0.08, AnimationCurve::easeOut};

    explicit TileCell(TileContent content);
    TileCell(const TileCell&) = delete;
    TileCell& operator=(const TileCell&) = delete;

    const std::string& key() const { return content_.key; }
    const TileContent& content() const { return content_; }
    void setContent(TileContent content);

    // Into the tile's box at `origin`, with hover and press as they stand at `now`.
    void paint(QPainter& painter, const QPointF& origin, const TileLook& look, const QPalette& palette,
               MediaTime now) const;

    EasedValue hover;
    EasedValue press;

private:
    TileContent content_;
    QIcon icon_;
};

}  // namespace quillbern
