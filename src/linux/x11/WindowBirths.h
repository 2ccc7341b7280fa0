#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>
#include <xcb/xcb.h>

#include "linux/x11/XcbConnection.h"

namespace quillbern {

// When the windows of the session came to be, in the clock of process start times, so that a
// process counts as a window's only if it started no later: one that took the id of the
// window's client after that client ended comes later. A window is born when it is seen
// created on the root (SubstructureNotify on it); one created before the looking began
// counts as born then. The kernel keeps a start only to the clock tick (a hundredth of a
// second), and a client often makes its first window within the tick it started in, so a
// start in the window's own tick counts as before it.
class WindowBirths {
public:
    // Past this many windows noted, those that are gone are forgotten; should as many live
    // without a window manager's frame around them, the oldest are.
    static constexpr std::size_t kMostKept = 4096;

    // Born at `since`, the windows it never saw created.
    explicit WindowBirths(std::uint64_t since);

    // Notes the windows the reports say were created on the root, or destroyed there; windows
    // a frame holds end in the frame, so those that are gone are asked for now and then on
    // `connection`.
    void note(const std::vector<XcbReply<xcb_generic_event_t>>& reports, XcbConnection& connection);
    // Whether a process that started at `startTicks` started before the window was born.
    bool startedBefore(std::uint64_t startTicks, xcb_window_t window) const;

    std::size_t size() const { return births_.size(); }

private:
    void forgetSome(XcbConnection& connection);

    std::uint64_t since_;
    std::unordered_map<xcb_window_t, std::uint64_t> births_;
};

}  // namespace quillbern
