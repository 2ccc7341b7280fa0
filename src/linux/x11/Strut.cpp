#include "linux/x11/Strut.h"

#include <algorithm>

namespace quillbern {

namespace {

// Does the run [start, end] (inclusive pixels) overlap [min, max)?
bool overlaps(const Strut::Band& band, double min, double max) {
    return band.depth > 0 && band.end >= band.start && band.start < max && band.end + 1 > min;
}

}  // namespace

std::optional<Strut> Strut::fromPartial(const std::vector<std::uint32_t>& v) {
    if (v.size() != 12) return std::nullopt;
    Strut s;
    s.left = {double(v[0]), double(v[4]), double(v[5])};
    s.right = {double(v[1]), double(v[6]), double(v[7])};
    s.top = {double(v[2]), double(v[8]), double(v[9])};
    s.bottom = {double(v[3]), double(v[10]), double(v[11])};
    return s;
}

std::optional<Strut> Strut::fromFull(const std::vector<std::uint32_t>& v, RectTL window) {
    if (v.size() != 4) return std::nullopt;
    Strut s;
    s.left = {double(v[0]), window.minY(), window.maxY() - 1};
    s.right = {double(v[1]), window.minY(), window.maxY() - 1};
    s.top = {double(v[2]), window.minX(), window.maxX() - 1};
    s.bottom = {double(v[3]), window.minX(), window.maxX() - 1};
    return s;
}

RectTL visibleArea(RectTL monitor, Size root, const std::vector<Strut>& struts) {
    double minX = monitor.minX(), maxX = monitor.maxX(), minY = monitor.minY(), maxY = monitor.maxY();
    for (const Strut& s : struts) {
        const double leftEdge = s.left.depth;
        if (overlaps(s.left, monitor.minY(), monitor.maxY()) && leftEdge > monitor.minX() &&
            leftEdge <= monitor.maxX()) {
            minX = std::max(minX, leftEdge);
        }
        const double rightEdge = root.width - s.right.depth;
        if (overlaps(s.right, monitor.minY(), monitor.maxY()) && rightEdge >= monitor.minX() &&
            rightEdge < monitor.maxX()) {
            maxX = std::min(maxX, rightEdge);
        }
        const double topEdge = s.top.depth;
        if (overlaps(s.top, monitor.minX(), monitor.maxX()) && topEdge > monitor.minY() && topEdge <= monitor.maxY()) {
            minY = std::max(minY, topEdge);
        }
        const double bottomEdge = root.height - s.bottom.depth;
        if (overlaps(s.bottom, monitor.minX(), monitor.maxX()) && bottomEdge >= monitor.minY() &&
            bottomEdge < monitor.maxY()) {
            maxY = std::min(maxY, bottomEdge);
        }
    }
    return {minX, minY, std::max(0.0, maxX - minX), std::max(0.0, maxY - minY)};
}

RectTL workAreaOn(RectTL monitor, const std::vector<RectTL>& monitors, RectTL workArea) {
    if (workArea.isEmpty()) return monitor;
    const auto onlyThisBeyond = [&](auto beyond) {
        return beyond(monitor) && std::count_if(monitors.begin(), monitors.end(), beyond) == 1;
    };
    double minX = monitor.minX(), maxX = monitor.maxX(), minY = monitor.minY(), maxY = monitor.maxY();
    // A cut line counts only strictly inside the monitor, so it never empties it.
    if (const double cut = workArea.minX();
        cut > minX && cut < maxX && onlyThisBeyond([cut](const RectTL& m) { return m.minX() < cut; })) {
        minX = cut;
    }
    if (const double cut = workArea.maxX();
        cut > minX && cut < maxX && onlyThisBeyond([cut](const RectTL& m) { return m.maxX() > cut; })) {
        maxX = cut;
    }
    if (const double cut = workArea.minY();
        cut > minY && cut < maxY && onlyThisBeyond([cut](const RectTL& m) { return m.minY() < cut; })) {
        minY = cut;
    }
    if (const double cut = workArea.maxY();
        cut > minY && cut < maxY && onlyThisBeyond([cut](const RectTL& m) { return m.maxY() > cut; })) {
        maxY = cut;
    }
    return {minX, minY, maxX - minX, maxY - minY};
}

}  // namespace quillbern
