#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/platform/Types.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

// The pictures of a _NET_WM_ICON value, each one its width, its height and its pixels in
// ARGB words, row by row: one picture per size, premultiplied RGBA. A picture that claims
// more pixels than follow, or none, ends the list.
std::vector<PixelBuffer> windowIconPictures(std::span<const std::uint32_t> words);

// A drawable's pixels as GetImage gives them: ZPixmap with 32 bits a pixel (0x00RRGGBB) for
// a colour one, XYPixmap for a bitmap of depth 1.
struct RawImage {
    int width = 0;
    int height = 0;
    int depth = 0;
    // Bytes from one row to the next.
    int stride = 0;
    // Of a bitmap: whether its first pixel is the lowest bit of a byte.
    bool lowBitFirst = true;
    std::vector<std::uint8_t> data;
};

// The picture of an icon pixmap of WM_HINTS and its mask: a bitmap is drawn black on
// white; where the mask is clear the picture is too. None when the mask does not fit.
std::optional<PixelBuffer> iconPixmapPicture(const RawImage& image, const std::optional<RawImage>& mask);

// The window's pictures: its _NET_WM_ICON, else the icon pixmap older clients give in
// WM_HINTS; read within the deadline, empty when it carries none.
std::vector<PixelBuffer> readWindowIcon(XcbConnection& connection, xcb_window_t window,
                                        XcbConnection::Deadline deadline);

}  // namespace quillbern
