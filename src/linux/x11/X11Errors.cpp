#include "linux/x11/X11Errors.h"

#include <array>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <tuple>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {

std::string errorName(std::uint8_t code) {
    static constexpr std::array<const char*, 18> kCoreErrors = {
        "",          "BadRequest", "BadValue",    "BadWindow",   "BadPixmap", "BadAtom",
        "BadCursor", "BadFont",    "BadMatch",    "BadDrawable", "BadAccess", "BadAlloc",
        "BadColor",  "BadGC",      "BadIDChoice", "BadName",     "BadLength", "BadImplementation"};
    if (code > 0 && code < kCoreErrors.size()) return kCoreErrors[code];
    return "error " + std::to_string(code) + " of an extension";
}

}  // namespace

void logUncheckedError(const xcb_generic_error_t& error) {
    static std::mutex mutex;
    static std::set<std::tuple<std::uint8_t, std::uint8_t, std::uint16_t>> seen;
    {
        std::lock_guard lock(mutex);
        if (!seen.emplace(error.error_code, error.major_code, error.minor_code).second) return;
    }
    char resource[16];
    std::snprintf(resource, sizeof resource, "0x%x", error.resource_id);
    log("the X server refused a request: ", errorName(error.error_code), " for request ", int(error.major_code), ".",
        error.minor_code, " on ", resource, " (later refusals of this kind are not logged)");
}

void selectEventsOfPassingWindow(xcb_connection_t* c, xcb_window_t window, std::uint32_t mask) {
    xcb_discard_reply(c, xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &mask).sequence);
}

}  // namespace quillbern
