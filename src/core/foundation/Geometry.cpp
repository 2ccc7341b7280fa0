#include "core/foundation/Geometry.h"

namespace quillbern {

RectBL toBottomLeft(const RectTL& frame, double primaryHeight) {
    if (frame.isNull()) return RectBL::null();
    const RectTL r = frame.standardized();
    return {r.x, primaryHeight - (r.y + r.height), r.width, r.height};
}

RectTL toTopLeft(const RectBL& r, double primaryHeight) {
    if (r.isNull()) return RectTL::null();
    return {r.x, primaryHeight - (r.y + r.height), r.width, r.height};
}

PointBL toBottomLeft(PointTL p, double primaryHeight) {
    return {p.x, primaryHeight - p.y};
}

PointTL toTopLeft(PointBL p, double primaryHeight) {
    return {p.x, primaryHeight - p.y};
}

}  // namespace quillbern
