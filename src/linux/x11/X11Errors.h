#pragma once

#include <cstdint>
#include <xcb/xcb.h>

namespace quillbern {

// Logs an X error of a request whose outcome nobody waited for, once per kind (error and
// request) in a run: most are races with a window that went away, and one line tells enough.
void logUncheckedError(const xcb_generic_error_t& error);

// Asks for the reports in `mask` of a window that may be gone by the time the server reads the
// request (another program's, or one of ours that Qt destroys on its own connection, which a
// window manager may list a while longer): the refusal of one that went is expected, and
// dropped rather than logged.
void selectEventsOfPassingWindow(xcb_connection_t* c, xcb_window_t window, std::uint32_t mask);

}  // namespace quillbern
