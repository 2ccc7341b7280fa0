#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/platform/Types.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

// The pictures of a _NET_WM_ICON value, each one its width, its height and its pixels in
// ARGB words, row by row: one picture per size, premultiplied RGBA. A picture that claims
// more pixels than follow, or none, ends the list.
std::vector<PixelBuffer> windowIconPictures(std::span<const std::uint32_t> words);

// The window's _NET_WM_ICON, read within the deadline; empty when it carries none.
std::vector<PixelBuffer> readWindowIcon(XcbConnection& connection, xcb_window_t window,
                                        XcbConnection::Deadline deadline);

}  // namespace quillbern
