#pragma once

#include <QRect>
#include <cstdint>
#include <optional>

#include "core/foundation/Time.h"

struct xcb_connection_t;
struct xcb_special_event;

namespace quillbern {

// Pictures shown at frames to come, through the X server's Present extension, in a window of
// its own over part of another: the server copies each in at its frame, so an animation whose
// pictures it keeps needs the program only to queue more. Taking the window away drops what
// it had queued, which Present cannot take back otherwise; the pointer's events pass through
// it to the window below. The display's frame counter and its pace are learnt by asking the
// server for the frame it stands at, one question at a time. Main thread.
class PresentQueue {
public:
    // Whether the server has Present, once it answered; asked on the first call, without
    // waiting, since another client may hold the server.
    static bool isAvailable(xcb_connection_t* connection);

    // Learns the frames of the display `parent` stands on; once isAvailable.
    PresentQueue(xcb_connection_t* connection, std::uint32_t parent);
    ~PresentQueue();
    PresentQueue(const PresentQueue&) = delete;
    PresentQueue& operator=(const PresentQueue&) = delete;

    // Reads the server's answers and asks again, `now` by our clock.
    void learn(MediaTime now);
    // Whether the counter and its pace are known.
    bool knowsFrames() const { return pace_.has_value(); }
    // Whether the server's times are not our clock's: it counts otherwise.
    bool isUnmatched() const { return unmatched_; }
    // The frame shown at our clock's `time`, and when a frame shows; once knowsFrames.
    std::uint64_t frameAt(MediaTime time) const;
    // The frame that begins nearest `time`.
    std::uint64_t nearestFrame(MediaTime time) const;
    MediaTime timeOf(std::uint64_t frame) const;

    // Opens the window the pictures show in, over `pixels` of the parent, of its depth.
    void open(const QRect& pixels);
    bool isOpen() const { return window_ != 0; }
    const QRect& pixels() const { return pixels_; }
    // Shows a picture of the window's size at the display's frame `frame`; once open.
    void showAt(std::uint32_t pixmap, std::uint64_t frame);
    // The parent went, and the window with it.
    void parentGone() { parentGone_ = true; }

private:
    struct Shown {
        std::uint64_t frame;
        MediaTime at;
    };

    xcb_connection_t* connection_;
    std::uint32_t parent_;
    std::uint32_t events_;
    xcb_special_event* answers_;
    std::uint32_t window_ = 0;
    QRect pixels_;
    std::uint32_t serial_ = 0;
    bool asking_ = false;
    std::optional<Shown> first_;
    std::optional<Shown> last_;
    std::optional<Duration> pace_;
    bool unmatched_ = false;
    bool parentGone_ = false;
};

}  // namespace quillbern
