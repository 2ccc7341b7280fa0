#include "ui/foundation/XServerAnswer.h"

#include <algorithm>
#include <cstdlib>
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
    waiting_.push_back(std::move(then));
    if (asked_) return;
    asked_ = xcb_get_input_focus(c).sequence;
    xcb_flush(c);
    lookAfter(kFirstLook);
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

bool XServerAnswer::look(Duration delay) {
    if (xcb_connection_t* c = workingConnection()) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (!xcb_poll_for_reply(c, *asked_, &reply, &error)) return false;
        std::free(reply);
        std::free(error);
    }
    asked_.reset();
    answeredSince_ = MediaTime{clock_.mediaNow().seconds - delay};
    for (Task& then : std::exchange(waiting_, {}))
        then();
    return true;
}

}  // namespace quillbern
