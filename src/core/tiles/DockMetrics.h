#pragma once

#include <algorithm>
#include <cstddef>

namespace quillbern {

// The measures of a dock's bar and its tiles, in points: the frame geometry sizes the panels
// from them and the dock view draws with them, so a panel always holds what it shows.
namespace dockbar {

// The bar stands this far inside its panel.
inline constexpr double kBarInset = 4;
// Space at both ends of the dock's axis, inside the bar.
inline constexpr double kAxisInset = 10;
// Between the name header and the content below it.
inline constexpr double kHeaderSpacing = 3;
inline constexpr double kHeaderTopSpace = 5;
inline constexpr double kHeaderSideSpace = 12;
inline constexpr double kHeaderFontSize = 10;

// Between two cells of the strip, and between the strip and what follows it.
inline constexpr double kCellGap = 8;
// Space on both sides of the strip across the dock's axis.
inline constexpr double kStripCrossInset = 2;

inline constexpr double kSeparatorThickness = 1.5;
// Space at both ends of the separator along the dock's axis.
inline constexpr double kSeparatorPadding = 2;
// The separator's length across the axis, as a share of the tile size.
inline constexpr double kSeparatorCrossShare = 0.6;
inline constexpr double kSeparatorCornerRadius = 1;
// What the frame counts for the separator before the running applications.
inline constexpr double kSeparatorAllowance = 12;

// Tile chrome: an icon over a dot and an optional label, padded above and below.
inline constexpr double kIconInset = 24;
inline constexpr double kChromeSpacing = 2;
inline constexpr double kDotSize = 4;
inline constexpr double kChromePadding = 3;
inline constexpr double kLabelFontSize = 11;
inline constexpr double kLabelLineHeight = 14;
// The label is at most the tile size less this.
inline constexpr double kLabelInset = 4;
inline constexpr double kBadgeFontSize = 9;
inline constexpr double kBadgeHorizontalPadding = 6;
inline constexpr double kBadgeVerticalPadding = 2;

// The drag hint and the button that asks for window access.
inline constexpr double kHintFontSize = 10;
inline constexpr double kHintPadding = 6;
inline constexpr double kButtonFontSize = 11;
inline constexpr double kButtonPadding = 4;
// Between the button and the hint when both show.
inline constexpr double kPermissionSpacing = 2;

// A pressed tile shrinks to this scale.
inline constexpr double kPressedScale = 0.92;

constexpr double iconSide(double tileSize) {
    return tileSize - kIconInset;
}

// A tile is as wide as the tile size and this tall.
constexpr double tileHeight(double tileSize, bool showsLabels) {
    const double label = showsLabels ? kChromeSpacing + kLabelLineHeight : 0;
    return iconSide(tileSize) + kChromeSpacing + kDotSize + label + 2 * kChromePadding;
}

// A cell's length along the dock's axis.
constexpr double cellLength(double tileSize, bool showsLabels, bool vertical) {
    return vertical ? tileHeight(tileSize, showsLabels) : tileSize;
}

// The separator with its padding, along the axis.
constexpr double separatorLength() {
    return kSeparatorThickness + 2 * kSeparatorPadding;
}

// The strip's length along the axis for `cells` tiles, with or without the separator.
constexpr double stripLength(std::size_t cells, bool separator, double cellLength) {
    const auto n = static_cast<double>(cells);
    const double tiles = n * cellLength + std::max(n - 1, 0.0) * kCellGap;
    if (!separator) return tiles;
    return tiles + (cells > 0 ? kCellGap : 0) + separatorLength();
}

// The radius of a tile's hover highlight for the bar's corner radius.
constexpr double tileCornerRadius(double barCornerRadius) {
    return std::min(std::max(barCornerRadius - 8, 6.0), 14.0);
}

}  // namespace dockbar

}  // namespace quillbern
