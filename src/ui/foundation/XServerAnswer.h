#pragma once

#include <optional>
#include <vector>

#include "core/foundation/RunLoop.h"

namespace quillbern {

// Tells when Qt's X connection has just answered: it sends a request (or joins the one on
// its way) and looks for the reply without waiting for it, first after a millisecond, then
// twice as long after each look that found none, up to kLongestLook. Qt's backing store
// makes a round trip to the X server before it paints over what it last sent through shared
// memory, and waits for it on the main loop: a window that paints only once the server has
// just answered finds it answering, and while the server is busy the loop goes on with
// everything else. A server held by another client, or stopped, costs a few looks a second.
// Main thread.
class XServerAnswer {
public:
    static constexpr Duration kFirstLook = 0.001;
    static constexpr Duration kLongestLook = 0.05;

    explicit XServerAnswer(RunLoop& mainLoop);
    ~XServerAnswer();
    XServerAnswer(const XServerAnswer&) = delete;
    XServerAnswer& operator=(const XServerAnswer&) = delete;

    // Runs `then` once the server has answered a request still unanswered at this call; at
    // once without a connection.
    void whenAnswered(Task then);

private:
    // Whether the reply has come; the waiting tasks have run then.
    bool look();
    void lookAfter(Duration delay);

    RunLoop& loop_;
    // The request on its way.
    std::optional<unsigned> asked_;
    std::vector<Task> waiting_;
    Timer looking_;
};

}  // namespace quillbern
