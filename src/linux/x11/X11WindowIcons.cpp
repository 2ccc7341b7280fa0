#include "linux/x11/X11WindowIcons.h"

namespace quillbern {

namespace {

// Larger pictures than this are left out: no view of ours draws icons that large.
constexpr std::uint32_t kLargestSide = 1024;
// Enough for a set of pictures up to 512 by 512 pixels.
constexpr std::uint32_t kIconWords = 512 * 512 * 2;

std::uint8_t premultiplied(std::uint32_t channel, std::uint32_t alpha) {
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

}  // namespace

std::vector<PixelBuffer> windowIconPictures(std::span<const std::uint32_t> words) {
    std::vector<PixelBuffer> pictures;
    while (words.size() >= 2) {
        const std::uint32_t width = words[0];
        const std::uint32_t height = words[1];
        words = words.subspan(2);
        if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) break;
        const std::size_t count = std::size_t{width} * height;
        if (count > words.size()) break;
        PixelBuffer picture{static_cast<int>(width), static_cast<int>(height), {}};
        picture.rgbaPremultiplied.reserve(count * 4);
        for (const std::uint32_t argb : words.first(count)) {
            const std::uint32_t alpha = argb >> 24;
            picture.rgbaPremultiplied.insert(
                picture.rgbaPremultiplied.end(),
                {premultiplied((argb >> 16) & 0xFF, alpha), premultiplied((argb >> 8) & 0xFF, alpha),
                 premultiplied(argb & 0xFF, alpha), static_cast<std::uint8_t>(alpha)});
        }
        pictures.push_back(std::move(picture));
        words = words.subspan(count);
    }
    return pictures;
}

std::vector<PixelBuffer> readWindowIcon(XcbConnection& connection, xcb_window_t window,
                                        XcbConnection::Deadline deadline) {
    xcb_connection_t* c = connection.xcb();
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, window, connection.atom("_NET_WM_ICON"), XCB_ATOM_CARDINAL, 0, kIconWords);
    if (!connection.sync(deadline)) {
        xcb_discard_reply(c, cookie.sequence);
        return {};
    }
    const std::vector<std::uint32_t> words = propertyItems(c, cookie);
    return windowIconPictures(words);
}

}  // namespace quillbern
