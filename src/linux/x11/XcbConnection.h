#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>
#include <xcb/xcb.h>

#include "linux/x11/X11Properties.h"

namespace quillbern {

// One plain connection to the X server, without any event loop of its own: its owner
// decides on which thread and loop it is read.
class XcbConnection {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // Connects to $DISPLAY; null (logged) when the server cannot be reached.
    static std::unique_ptr<XcbConnection> open();
    // Whether $DISPLAY names a server that takes a connection, asked before Qt connects:
    // Qt ends the process when it cannot.
    static bool displayIsReachable();
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    xcb_connection_t* xcb() const { return connection_; }
    xcb_window_t root() const { return root_; }
    // The number of the X screen of $DISPLAY, the one root() belongs to.
    int screenNumber() const { return screenNumber_; }
    int fd() const { return xcb_get_file_descriptor(connection_); }
    bool isBroken() const { return xcb_connection_has_error(connection_) != 0; }
    xcb_atom_t atom(const std::string& name) const;  // interned once, any thread

    // Waits until the server has answered every request sent so far, at most until the
    // deadline, so the replies of a pipelined batch can then be collected without
    // blocking. Events read meanwhile are kept for takeEvents(). One thread at a time.
    bool sync(Deadline deadline);
    // How often sync() waited for the server: the round trips of the batches read on it.
    std::uint64_t roundTrips() const { return roundTrips_; }
    // The events kept by sync() and whatever else has arrived, oldest first.
    std::vector<XcbReply<xcb_generic_event_t>> takeEvents();
    // Keeps what has arrived, without waiting; true when events are kept now.
    bool keepArrivedEvents();

private:
    XcbConnection(xcb_connection_t* connection, xcb_window_t root, int screenNumber);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    int screenNumber_;
    mutable std::mutex atomsMutex_;
    mutable std::map<std::string, xcb_atom_t> atoms_;
    std::vector<XcbReply<xcb_generic_event_t>> kept_;
    std::uint64_t roundTrips_ = 0;
};

}  // namespace quillbern
