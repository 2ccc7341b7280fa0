#pragma once

#include <QString>
#include <functional>

class QPainter;
class QPalette;
class QPointF;
class QRectF;
class QSizeF;

namespace quillbern {

// Paints into the square or dot box it is given.
using TilePart = std::function<void(QPainter&, const QRectF&)>;

// The frame every tile of a dock shares: an icon over a small status dot, an optional name
// label under them, a rounded hover highlight, and, when labels are off, an optional
// floating name badge. A pressed tile shrinks about its centre.
struct TileChrome {
    QString name;
    double tileSize = 62;
    bool showsLabels = false;
    double cornerRadius = 6;
    // Eased between 0 (away) and 1 (hovered); the highlight and the badge follow it.
    double hover = 0;
    bool showsHoverBadge = false;
    // How wide the badge may grow, centred on the tile: as far as the strip it stands in
    // reaches; never less than the tile's own width.
    double badgeRoom = 0;
    // Eased between 0 (released) and 1 (pressed).
    double press = 0;

    // The tile's whole box.
    static QSizeF size(double tileSize, bool showsLabels);
    // Where the icon stands in a tile whose box starts at `origin`, before any press.
    static QRectF iconBox(const QPointF& origin, double tileSize);
    // The label as it fits under the icon: cut at its end.
    static QString shownLabel(const QString& name, double tileSize);
    // Hovering shows the whole name in the badge, uncut.
    bool badgeShowsWholeName() const;

    // Into the tile's box starting at `origin`.
    void paint(QPainter& painter, const QPointF& origin, const QPalette& palette, const TilePart& icon,
               const TilePart& dot = {}) const;

private:
    bool hasBadge() const { return showsHoverBadge && !showsLabels; }
    double badgeWidth() const;
};

// A tile's name floating over its bottom edge while the pointer is over it.
struct HoverNameBadge {
    QString name;

    // The name as it fits the badge: cut in its middle.
    QString shownName(double maxWidth) const;

    // Centred on `bottomCentre`'s x, its bottom on its y, never wider than `maxWidth`.
    void paint(QPainter& painter, const QPointF& bottomCentre, double maxWidth, const QPalette& palette,
               double opacity) const;
};

}  // namespace quillbern
