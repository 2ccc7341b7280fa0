#include "ui/foundation/XServerIntake.h"

#include <algorithm>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <utility>
#include <xcb/xcb.h>

namespace quillbern {

XServerIntake::XServerIntake(RunLoop& mainLoop, xcb_connection_t* connection)
    : loop_(mainLoop), connection_(connection) {}

void XServerIntake::whenTakenIn(Task then) {
    if (waiting_.empty() && allTakenIn()) {
        then();
        return;
    }
    waiting_.push_back(std::move(then));
    if (!looking_.isPending()) lookAfter(kFirstLook);
}

// What xcb holds is sent first: the socket then holds all the server has yet to read. A
// socket that cannot tell counts as read, as a broken connection.
bool XServerIntake::allTakenIn() const {
    if (xcb_connection_has_error(connection_) || xcb_flush(connection_) <= 0) return true;
    int unread = 0;
    return ::ioctl(xcb_get_file_descriptor(connection_), SIOCOUTQ, &unread) != 0 || unread == 0;
}

void XServerIntake::lookAfter(Duration delay) {
    looking_ = loop_.after(delay, [this, delay] {
        if (!allTakenIn()) {
            lookAfter(std::min(2 * delay, kLongestLook));
            return;
        }
        for (Task& then : std::exchange(waiting_, {}))
            then();
    });
}

}  // namespace quillbern
