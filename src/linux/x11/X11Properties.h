#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

#include "core/foundation/Geometry.h"
#include "xcb/XcbReply.h"

namespace quillbern {

// The 32-bit items (CARDINAL, WINDOW, ATOM) of a property reply; empty when absent.
std::vector<std::uint32_t> propertyItems(xcb_connection_t* c, xcb_get_property_cookie_t cookie);
// The text of an 8-bit property as UTF-8; nullopt when absent. Latin-1 types (STRING) are
// converted, UTF8_STRING is taken as it is.
std::optional<std::string> propertyText(xcb_connection_t* c, xcb_get_property_cookie_t cookie, xcb_atom_t utf8String);
bool holds(const std::vector<std::uint32_t>& atoms, xcb_atom_t atom);

// _NET_FRAME_EXTENTS: left, right, top, bottom.
struct FrameExtents {
    double left = 0, right = 0, top = 0, bottom = 0;
    static FrameExtents from(const std::vector<std::uint32_t>& items);
    bool operator==(const FrameExtents&) const = default;
};
// The client's rectangle grown by the decorations around it.
RectTL outerFrame(RectTL client, const FrameExtents& extents);

}  // namespace quillbern
