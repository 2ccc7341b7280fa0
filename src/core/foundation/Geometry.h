#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillbern {

// Coordinate spaces, kept apart by type so a frame cannot cross spaces unconverted.
namespace space {
struct View;        // view-local, y down
struct BottomLeft;  // screen space: y up, origin at the primary display's bottom-left corner
struct TopLeft;     // window space: y down, origin at the primary display's top-left corner
}  // namespace space

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

template <class Space>
struct BasicPoint {
    double x = 0;
    double y = 0;
    bool operator==(const BasicPoint&) const = default;
};

template <class Space>
struct BasicRect {
    using Point = BasicPoint<Space>;

    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool operator==(const BasicRect&) const = default;

    // The answer of an intersection of disjoint rectangles.
    static BasicRect null() {
        return {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 0, 0};
    }
    bool isNull() const { return x == std::numeric_limits<double>::infinity(); }
    bool isEmpty() const { return isNull() || width <= 0 || height <= 0; }

    double minX() const { return x; }
    double midX() const { return x + width / 2; }
    double maxX() const { return x + width; }
    double minY() const { return y; }
    double midY() const { return y + height / 2; }
    double maxY() const { return y + height; }
    Point origin() const { return {x, y}; }
    Point center() const { return {midX(), midY()}; }
    Size size() const { return {width, height}; }
    double area() const { return isEmpty() ? 0 : width * height; }

    // Half-open on both axes: [minX, maxX) x [minY, maxY).
    bool contains(Point p) const { return !isNull() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }

    bool containsRect(const BasicRect& r) const {
        return !isNull() && !r.isNull() && r.minX() >= minX() && r.maxX() <= maxX() && r.minY() >= minY() &&
               r.maxY() <= maxY();
    }

    // Overlap of positive area; touching edges do not count.
    bool intersectsWithArea(const BasicRect& r) const { return !intersection(r).isEmpty(); }

    // Null when the rectangles are apart; an empty rectangle when they only touch.
    BasicRect intersection(const BasicRect& r) const {
        if (isNull() || r.isNull()) return null();
        const double x1 = std::max(minX(), r.minX());
        const double y1 = std::max(minY(), r.minY());
        const double x2 = std::min(maxX(), r.maxX());
        const double y2 = std::min(maxY(), r.maxY());
        if (x1 > x2 || y1 > y2) return null();
        return {x1, y1, x2 - x1, y2 - y1};
    }

    BasicRect united(const BasicRect& r) const {
        if (isNull()) return r;
        if (r.isNull()) return *this;
        const double x1 = std::min(minX(), r.minX());
        const double y1 = std::min(minY(), r.minY());
        return {x1, y1, std::max(maxX(), r.maxX()) - x1, std::max(maxY(), r.maxY()) - y1};
    }

    // The same area with a positive width and height; null stays null.
    BasicRect standardized() const {
        if (isNull()) return *this;
        return {std::min(x, x + width), std::min(y, y + height), std::abs(width), std::abs(height)};
    }

    BasicRect insetBy(double dx, double dy) const { return {x + dx, y + dy, width - 2 * dx, height - 2 * dy}; }
    BasicRect offsetBy(double dx, double dy) const { return {x + dx, y + dy, width, height}; }
};

using Point = BasicPoint<space::View>;
using Rect = BasicRect<space::View>;
using PointBL = BasicPoint<space::BottomLeft>;
using RectBL = BasicRect<space::BottomLeft>;
using PointTL = BasicPoint<space::TopLeft>;
using RectTL = BasicRect<space::TopLeft>;

// The pointer test of screen space: minX <= x < maxX and minY < y <= maxY, so the
// bottom pixel row (y = 1 on the primary display) is inside and y = 0 is not.
template <class Space>
bool mouseInRect(BasicPoint<Space> p, const BasicRect<Space>& r) {
    return !r.isNull() && p.x >= r.minX() && p.x < r.maxX() && p.y > r.minY() && p.y <= r.maxY();
}

// Conversions between the two global spaces; primaryHeight is the primary display's height
// (0 without displays). Points convert without the minus one of pixel rows. A window frame
// converts with a negative width or height measured from its other corner, so it comes out
// with a positive size.
RectBL toBottomLeft(const RectTL& r, double primaryHeight);
RectTL toTopLeft(const RectBL& r, double primaryHeight);
PointBL toBottomLeft(PointTL p, double primaryHeight);
PointTL toTopLeft(PointBL p, double primaryHeight);

}  // namespace quillbern
