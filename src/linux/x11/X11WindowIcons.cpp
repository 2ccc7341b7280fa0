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

std::optional<PixelBuffer> iconPixmapPicture(const RawImage& image, const std::optional<RawImage>& mask) {
    if (image.width <= 0 || image.height <= 0) return std::nullopt;
    if (mask && (mask->width != image.width || mask->height != image.height || mask->depth != 1)) return std::nullopt;
    const auto fits = [](const RawImage& raw, int rowBytes) {
        return raw.stride >= rowBytes && raw.data.size() >= std::size_t(raw.stride) * std::size_t(raw.height);
    };
    const auto bit = [](const RawImage& raw, int x, int y) {
        const std::uint8_t byte = raw.data[std::size_t(y) * std::size_t(raw.stride) + std::size_t(x / 8)];
        const int shift = raw.lowBitFirst ? x % 8 : 7 - x % 8;
        return (byte >> shift) & 1;
    };
    const bool bitmap = image.depth == 1;
    if (!fits(image, bitmap ? (image.width + 7) / 8 : image.width * 4)) return std::nullopt;
    if (mask && !fits(*mask, (mask->width + 7) / 8)) return std::nullopt;
    PixelBuffer picture{image.width, image.height, {}};
    picture.rgbaPremultiplied.reserve(std::size_t(image.width) * std::size_t(image.height) * 4);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t rgb = 0;
            if (bitmap) {
                rgb = bit(image, x, y) ? 0x000000 : 0xFFFFFF;
            } else {
                const std::uint8_t* p = &image.data[std::size_t(y) * std::size_t(image.stride) + std::size_t(x) * 4];
                rgb = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
            }
            const bool opaque = !mask || bit(*mask, x, y);
            const auto channel = [&](int shift) { return std::uint8_t(opaque ? (rgb >> shift) & 0xFF : 0); };
            picture.rgbaPremultiplied.insert(picture.rgbaPremultiplied.end(),
                                             {channel(16), channel(8), channel(0), std::uint8_t(opaque ? 255 : 0)});
        }
    }
    return picture;
}

namespace {

// WM_HINTS: its flags, and where the icon pixmap and its mask stand.
constexpr std::uint32_t kIconPixmapHint = 4;
constexpr std::uint32_t kIconMaskHint = 32;
constexpr std::size_t kIconPixmapIndex = 3;
constexpr std::size_t kIconMaskIndex = 7;
// Icon pixmaps larger than this are no icons.
constexpr std::uint16_t kLargestPixmap = 512;

// The pixmap's pixels, when it is a bitmap or a colour pixmap of 32 bits a pixel.
std::optional<RawImage> pixmapImage(XcbConnection& connection, xcb_pixmap_t pixmap, XcbConnection::Deadline deadline) {
    xcb_connection_t* c = connection.xcb();
    const XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, pixmap), nullptr));
    if (!geometry || geometry->width > kLargestPixmap || geometry->height > kLargestPixmap) return std::nullopt;
    const xcb_setup_t* setup = xcb_get_setup(c);
    int bitsPerPixel = 0;
    int pad = 0;
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem; xcb_format_next(&format)) {
        if (format.data->depth != geometry->depth) continue;
        bitsPerPixel = format.data->bits_per_pixel;
        pad = format.data->scanline_pad;
    }
    const bool bitmap = geometry->depth == 1;
    if (!bitmap && (bitsPerPixel != 32 || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)) return std::nullopt;
    if (bitmap) pad = setup->bitmap_format_scanline_pad;
    const xcb_get_image_cookie_t cookie =
        xcb_get_image(c, bitmap ? XCB_IMAGE_FORMAT_XY_PIXMAP : XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, 0, 0, geometry->width,
                      geometry->height, ~0u);
    if (!connection.sync(deadline)) {
        xcb_discard_reply(c, cookie.sequence);
        return std::nullopt;
    }
    const XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(c, cookie, nullptr));
    if (!reply || pad <= 0) return std::nullopt;
    RawImage image;
    image.width = geometry->width;
    image.height = geometry->height;
    image.depth = geometry->depth;
    const int rowBits = image.width * (bitmap ? 1 : bitsPerPixel);
    image.stride = (rowBits + pad - 1) / pad * pad / 8;
    image.lowBitFirst = setup->bitmap_format_bit_order == XCB_IMAGE_ORDER_LSB_FIRST;
    const std::uint8_t* data = xcb_get_image_data(reply.get());
    image.data.assign(data, data + xcb_get_image_data_length(reply.get()));
    return image;
}

}  // namespace

std::vector<PixelBuffer> readWindowIcon(XcbConnection& connection, xcb_window_t window,
                                        XcbConnection::Deadline deadline) {
    xcb_connection_t* c = connection.xcb();
    const xcb_get_property_cookie_t icon =
        xcb_get_property(c, 0, window, connection.atom("_NET_WM_ICON"), XCB_ATOM_CARDINAL, 0, kIconWords);
    const xcb_get_property_cookie_t hints =
        xcb_get_property(c, 0, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, kIconMaskIndex + 2);
    if (!connection.sync(deadline)) {
        xcb_discard_reply(c, icon.sequence);
        xcb_discard_reply(c, hints.sequence);
        return {};
    }
    std::vector<PixelBuffer> pictures = windowIconPictures(propertyItems(c, icon));
    const std::vector<std::uint32_t> items = propertyItems(c, hints);
    if (!pictures.empty() || items.size() <= kIconMaskIndex || !(items[0] & kIconPixmapHint)) return pictures;
    const std::optional<RawImage> image = pixmapImage(connection, items[kIconPixmapIndex], deadline);
    if (!image) return pictures;
    std::optional<RawImage> mask;
    if (items[0] & kIconMaskHint) mask = pixmapImage(connection, items[kIconMaskIndex], deadline);
    if (auto picture = iconPixmapPicture(*image, mask)) pictures.push_back(std::move(*picture));
    return pictures;
}

}  // namespace quillbern
