#pragma once

#include <optional>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/RunLoop.h"

namespace quillbern {

// Tells when Qt's X connection has just answered: it sends a request (or joins the one on
// its way) and looks for the reply without waiting for it, first after a millisecond, then
// twice as long after each look that found none, up to kLongestLook. Qt's backing store
// makes a round trip to the X server before it paints over what it last sent through shared
// memory, and waits for it on the main loop: a window that paints only once the server has
// just answered finds it answering, and while the server is busy the loop goes on with
// everything else. It also tells, without asking, when the server has read all that was
// sent: what runs a frame waits for that, so that a held server gets one frame at most. A
// server held by another client, or stopped, costs a few looks a second for both. Main thread.
class XServerAnswer {
public:
    static constexpr Duration kFirstLook = 0.001;
    static constexpr Duration kLongestLook = 0.05;
    // How long an answer counts as just given, from the earliest it may have come: long
    // enough for the repaints of a frame's few panels, one after another.
    static constexpr Duration kJust = 0.004;

    XServerAnswer(RunLoop& mainLoop, const Clock& clock);
    ~XServerAnswer();
    XServerAnswer(const XServerAnswer&) = delete;
    XServerAnswer& operator=(const XServerAnswer&) = delete;

    // Runs `then` once the server has answered a request still unanswered at this call; at
    // once without a connection, or when the server has just answered.
    void whenAnswered(Task then);
    // Runs `then` once the server has read all that was sent on Qt's connection: at once
    // when it has, or without a connection.
    void whenAllRead(Task then);
    // Whether the server answered within kJust, so that what draws now finds it answering.
    bool hasJustAnswered() const;

private:
    // Runs what waits for what has come, `delay` after the last look; true when nothing waits.
    bool look(Duration delay);
    void lookAfter(Duration delay);
    bool allRead() const;

    RunLoop& loop_;
    const Clock& clock_;
    // The earliest the last answer may have come: the look before the one that found it.
    std::optional<MediaTime> answeredSince_;
    // The request on its way.
    std::optional<unsigned> asked_;
    std::vector<Task> waitingForAnswer_;
    std::vector<Task> waitingForRead_;
    Timer looking_;
};

}  // namespace quillbern
