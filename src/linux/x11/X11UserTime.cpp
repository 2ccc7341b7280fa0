#include "linux/x11/X11UserTime.h"

#include <xcb/xcb.h>

namespace quillbern {

void X11UserTime::note(std::uint32_t time) {
    const MediaTime now = clock_.mediaNow();
    const std::lock_guard lock(mutex_);
    time_ = time;
    notedAt_ = now;
}

std::uint32_t X11UserTime::requestTime() const {
    const MediaTime now = clock_.mediaNow();
    const std::lock_guard lock(mutex_);
    return time_ != XCB_CURRENT_TIME && now - notedAt_ <= kCauseLimit ? time_ : XCB_CURRENT_TIME;
}

}  // namespace quillbern
