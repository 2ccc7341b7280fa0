#pragma once

#include <xcb/xcb.h>

namespace quillbern {

// Logs an X error of a request whose outcome nobody waited for, once per kind (error and
// request) in a run: most are races with a window that went away, and one line tells enough.
void logUncheckedError(const xcb_generic_error_t& error);

}  // namespace quillbern
