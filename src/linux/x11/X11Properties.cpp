#include "linux/x11/X11Properties.h"

#include <algorithm>

namespace quillbern {

std::vector<std::uint32_t> propertyItems(xcb_connection_t* c, xcb_get_property_cookie_t cookie) {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->type == XCB_ATOM_NONE) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::optional<std::string> propertyText(xcb_connection_t* c, xcb_get_property_cookie_t cookie, xcb_atom_t utf8String) {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->format != 8 || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto* bytes = static_cast<const unsigned char*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    if (reply->type == utf8String) return std::string(bytes, bytes + length);
    std::string text;
    text.reserve(std::size_t(length));
    for (int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        if (byte < 0x80) {
            text += char(byte);
        } else {
            text += char(0xC0 | (byte >> 6));
            text += char(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

bool holds(const std::vector<std::uint32_t>& atoms, xcb_atom_t atom) {
    return atom != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
}

FrameExtents FrameExtents::from(const std::vector<std::uint32_t>& items) {
    if (items.size() != 4) return {};
    return {double(items[0]), double(items[1]), double(items[2]), double(items[3])};
}

RectTL outerFrame(RectTL client, const FrameExtents& e) {
    return {client.x - e.left, client.y - e.top, client.width + e.left + e.right, client.height + e.top + e.bottom};
}

}  // namespace quillbern
