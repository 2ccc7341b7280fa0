#include "ui/foundation/XServerAnswer.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include "ui/foundation/QtX11.h"

namespace quillbern {

namespace {

xcb_connection_t* workingConnection() {
    xcb_connection_t* c = qtX11Connection();
    return c && !xcb_connection_has_error(c) ? c : nullptr;
}

}  // namespace

XServerAnswer::XServerAnswer(RunLoop& mainLoop, const Clock& clock) : loop_(mainLoop), clock_(clock) {}

// A reply still on its way stays in xcb's queue until the connection closes: the
// connection may be gone already.
XServerAnswer::~XServerAnswer() = default;

void XServerAnswer::whenAnswered(Task then) {
    xcb_connection_t* c = workingConnection();
    if (!c || hasJustAnswered()) {
        then();
        return;
    }
    waitingForAnswer_.push_back(std::move(then));
    if (!asked_) {
        asked_ = xcb_get_input_focus(c).sequence;
        xcb_flush(c);
    }
    if (!looking_.isPending()) lookAfter(kFirstLook);
}

void XServerAnswer::whenAllRead(Task then) {
    if (waitingForRead_.empty() && allRead()) {
        then();
        return;
    }
    waitingForRead_.push_back(std::move(then));
    if (!looking_.isPending()) lookAfter(kFirstLook);
}

// Qt's event thread reads the connection: the reply lands in xcb's queue without a wake-up,
// so it is looked for. The longer the server has been silent, the longer it is likely to stay so.
void XServerAnswer::lookAfter(Duration delay) {
    looking_ = loop_.after(delay, [this, delay] {
        if (!look(delay)) lookAfter(std::min(2 * delay, kLongestLook));
    });
}

bool XServerAnswer::hasJustAnswered() const {
    return answeredSince_ && clock_.mediaNow() - *answeredSince_ <= kJust;
}

// A socket that cannot tell counts as read, as a broken connection.
bool XServerAnswer::allRead() const {
    xcb_connection_t* c = workingConnection();
    return !c || bytesUnreadByServer(c).value_or(0) == 0;
}

bool XServerAnswer::look(Duration delay) {
    std::vector<Task> ready;
    if (asked_) {
        xcb_connection_t* c = workingConnection();
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (!c || xcb_poll_for_reply(c, *asked_, &reply, &error)) {
            std::free(reply);
            std::free(error);
            asked_.reset();
            answeredSince_ = MediaTime{clock_.mediaNow().seconds - delay};
            ready = std::exchange(waitingForAnswer_, {});
        }
    }
    if (!waitingForRead_.empty() && allRead())
        std::ranges::move(std::exchange(waitingForRead_, {}), std::back_inserter(ready));
    for (Task& then : ready)
        then();
    return waitingForAnswer_.empty() && waitingForRead_.empty();
}

}  // namespace quillbern
