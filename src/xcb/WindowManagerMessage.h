#pragma once

#include <array>
#include <cstdint>
#include <xcb/xcb.h>

namespace quillbern {

// An EWMH or ICCCM request to the window manager about `window`, sent through the root and
// flushed.
void sendToWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                         const std::array<std::uint32_t, 5>& data);

}  // namespace quillbern
