#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/foundation/Time.h"

class QPainter;
class QWidget;
struct xcb_connection_t;

namespace quillbern {

class PresentQueue;

// The frames of a small part of a view that moves over what stands still, put straight into
// the view's X window: Qt's repaint of a window costs several times the drawing of so few
// pixels, and waits for the server before it paints over its shared memory again. What
// stands still is taken once from the view's own painting without the moving part, and again
// after Qt paints any of it. Qt's backing store keeps the part as Qt last painted it, so the
// view has Qt paint the frame that ends the motion, and an expose meanwhile may show the part
// a frame behind. Frames that come again, as a turn's or a bounce's, are painted and sent
// once: the server keeps their pixels and copies them into the window. Frames that come round
// again whole, as a turn's, may instead be queued ahead on the server. Main thread.
class DirectFrames {
public:
    // What the server may have yet to read, ours and Qt's, once a frame is put: xcb waits
    // before each write until the socket is writable, which a Unix socket reports only while
    // less than a quarter of its send buffer (53 KiB by default) is unread, so a server held
    // by another client must never be left more, or the main thread waits in Qt's next write.
    static constexpr int kMostUnread = 32 * 1024;
    // The pixels a view's frames may have the server keep for it, in bytes.
    static constexpr std::size_t kMostKept = 1024 * 1024;
    // The pictures of a round of queued frames the server may keep, in bytes.
    static constexpr std::size_t kMostQueued = 4 * 1024 * 1024;
    // A queue is filled at every kFilledEvery-th frame of the display, with kQueuedLeastLeft
    // frames more than reach the next fill.
    static constexpr std::uint64_t kFilledEvery = 8;
    static constexpr std::uint64_t kQueuedLeastLeft = 3;
    // What a frame leaves for put while the pictures of a queue are sent, in bytes: a part
    // put whole, as after Qt painted it, must still go, or Qt would paint it again.
    static constexpr int kRoomForPut = 24 * 1024;

    // Names what `moving` paints: frames of one look are the same pixels.
    using Look = std::int64_t;

    explicit DirectFrames(QWidget& view);
    ~DirectFrames();
    DirectFrames(const DirectFrames&) = delete;
    DirectFrames& operator=(const DirectFrames&) = delete;

    // `moving` is told the part it paints for.
    using Painting = std::function<void(QPainter& painter, const QRect& part)>;
    // Puts what a frame changes of `area` (view coordinates): what stands still there, with
    // `moving` painted over it in view coordinates, within each rectangle of `changed`; the
    // whole area at its first frame and once Qt painted some of it but not all. False where
    // the window cannot take it (not on X11, not shown, a widget over the area, a pixel layout
    // other than the host's 32 bits, its depth still unknown, or more than kMostUnread to send):
    // the caller then has Qt repaint the area, after which frames put what they change again.
    // With a `look`, what a frame changes is kept on the server until Qt paints over the
    // area, and a later frame of that look changing no more is copied from there.
    bool put(const QRect& area, const QRegion& changed, const Painting& moving, std::optional<Look> look = {});
    // Frames that come round again, each as one of `looks`: `lookAt` tells which one shows at
    // a time, and `paint` paints it over what stands still, in view coordinates.
    struct Round {
        int looks = 0;
        std::function<int(MediaTime)> lookAt;
        std::function<void(QPainter& painter, int look)> paint;
        // What differs between two looks.
        std::function<QRegion(int from, int to)> change;
    };
    // Queues the frames of `area` a few ahead on the server, into a window of their own over
    // it: the time to queue more, by the clock of `now`, and no later. Each look is painted and
    // sent once, as what changed from the one before, a little at each frame. None while they
    // are sent and the display's frame counter is learnt, about half a second, or where they
    // cannot be queued: as with put, or a server without Present, whose times are not our
    // clock's, or pictures of more than kMostQueued. The caller then puts its frame.
    std::optional<MediaTime> queue(const QRect& area, const Round& round, MediaTime now);
    // Takes the queue's window away, and what it queued with it: the area it showed over,
    // where the window shows Qt's last painting again.
    std::optional<QRect> stopQueue();
    // Device pixels a point in the view's window, as its devicePixelRatioF() tells them but
    // asked once between Qt's paints: looking up its screen was a tenth of a frame's cost.
    qreal pixelRatio() const;
    // While the view paints what stands still: it leaves the moving part out.
    bool isTakingStill() const { return takingStill_; }
    // From the view's paint event outside isTakingStill, with the region Qt paints.
    void paintedByQt(const QRegion& painted);

private:
    struct Kept {
        Look look;
        // In the part's device pixels.
        QRect pixels;
        std::uint32_t pixmap;
    };
    struct Part {
        QRect area;
        // Taken at the first frame after Qt painted any of it.
        QImage still;
        // What its frames are painted on: the still where they put, each time.
        QImage frame;
        // The window shows Qt's paint of some of it and an earlier frame elsewhere.
        bool owedWhole = true;
        std::vector<Kept> kept;
    };

    struct Queue {
        QRect area;
        // In the window's device pixels.
        QRect pixels;
        std::unique_ptr<PresentQueue> present;
        QImage still;
        // Each look's, sent from the first one asked: `sent` of them whole.
        std::vector<std::uint32_t> pictures;
        int firstLook;
        std::size_t sent = 0;
        // The look being sent, and what of it is yet to go.
        QImage frame;
        std::vector<QRect> unsent;
        std::optional<std::uint64_t> lastQueued;
        std::uint64_t nextFill;
    };

    // The window's depth once the server told it, if it takes our pixel layout.
    std::optional<std::uint8_t> windowDepth();
    bool isCovered(const QRect& area) const;
    QImage takeStill(const QRect& area);
    void forgetKept(Part& part);
    // Sends what `room` bytes hold of the looks' pictures yet to go; the bytes sent.
    std::size_t sendPictures(const Round& round, std::size_t room);
    // Device pixels of a part's picture.
    static QRect devicePixels(const QRect& rect, const QRect& area, qreal ratio);
    // `pixels` of a picture of our pixel layout, into a drawable at `at`.
    void sendPixels(const QImage& picture, const QRect& pixels, std::uint32_t drawable, QPoint at);

    QWidget& view_;
    // Qt's; none off X11.
    xcb_connection_t* connection_;
    std::uint32_t window_ = 0;
    std::uint32_t gc_ = 0;
    // The request for the window's depth, or its answer: 0 where the layout does not fit.
    std::optional<unsigned> askedDepth_;
    std::optional<std::uint8_t> depth_;
    mutable std::optional<qreal> ratio_;
    std::vector<Part> parts_;
    // Where the window shows Qt's last paint, with no frame put over it since.
    QRegion shownAsQtPainted_;
    std::size_t keptBytes_ = 0;
    bool takingStill_ = false;
    std::optional<Queue> queue_;
    // The server's frames are not counted by our clock.
    bool queueRefused_ = false;
    std::vector<unsigned char> sending_;
};

}  // namespace quillbern
