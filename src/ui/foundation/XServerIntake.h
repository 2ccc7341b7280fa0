#pragma once

#include <vector>

#include "core/foundation/RunLoop.h"

struct xcb_connection_t;

namespace quillbern {

// Tells whether the X server has read everything sent on Qt's connection, without asking it:
// while another client holds the server, it reads nothing from ours, and what a frame sent
// stays in the socket. The frame clock runs a frame only once the server has taken in the
// last, so a held server gets one frame at most, never enough to fill the socket and block
// the main thread in a write, and the loop meanwhile only looks at the socket: a millisecond
// after the first look that found it full, then twice as long after each, up to kLongestLook.
// Main thread.
class XServerIntake {
public:
    static constexpr Duration kFirstLook = 0.001;
    static constexpr Duration kLongestLook = 0.05;

    // `connection`: Qt's.
    XServerIntake(RunLoop& mainLoop, xcb_connection_t* connection);
    XServerIntake(const XServerIntake&) = delete;
    XServerIntake& operator=(const XServerIntake&) = delete;

    // Runs `then` once nothing we sent waits in the socket: at once when nothing does, or
    // without a connection.
    void whenTakenIn(Task then);

private:
    bool allTakenIn() const;
    void lookAfter(Duration delay);

    RunLoop& loop_;
    xcb_connection_t* connection_;
    std::vector<Task> waiting_;
    Timer looking_;
};

}  // namespace quillbern
