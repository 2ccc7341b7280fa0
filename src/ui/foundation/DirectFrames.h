#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QWidget;
struct xcb_connection_t;

namespace quillbern {

// The frames of a small part of a view that moves over what stands still, put straight into
// the view's X window: Qt's repaint of a window costs several times the drawing of so few
// pixels, and waits for the server before it paints over its shared memory again. What
// stands still is taken once from the view's own painting without the moving part, and again
// after Qt paints any of it. Qt's backing store keeps the part as Qt last painted it, so the
// view has Qt paint the frame that ends the motion, and an expose meanwhile may show the part
// a frame behind. Frames that come again, as a turn's or a bounce's, are painted and sent
// once: the server keeps their pixels and copies them into the window. Main thread.
class DirectFrames {
public:
    // What the server may have yet to read, ours and Qt's, once a frame is put: xcb waits
    // before each write until the socket is writable, which a Unix socket reports only while
    // less than a quarter of its send buffer (53 KiB by default) is unread, so a server held
    // by another client must never be left more, or the main thread waits in Qt's next write.
    static constexpr int kMostUnread = 32 * 1024;
    // The pixels a view's frames may have the server keep for it, in bytes.
    static constexpr std::size_t kMostKept = 1024 * 1024;

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

    // The window's depth once the server told it, if it takes our pixel layout.
    std::optional<std::uint8_t> windowDepth();
    bool isCovered(const QRect& area) const;
    QImage takeStill(const QRect& area);
    void forgetKept(Part& part);

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
};

}  // namespace quillbern
