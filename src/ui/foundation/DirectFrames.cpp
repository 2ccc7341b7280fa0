#include "ui/foundation/DirectFrames.h"

#include <QPainter>
#include <QSysInfo>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstring>
#include <xcb/present.h>
#include <xcb/xcb.h>

#include "ui/foundation/PresentQueue.h"
#include "ui/foundation/QtX11.h"

namespace quillbern {

namespace {

constexpr std::size_t kPutImageHeader = 24;
// What a frame may leave in xcb's buffer for the end of the turn, in bytes.
constexpr std::size_t kHeldBackAtMost = 4 * 1024;

// Whether the server takes pixels of this depth as a QImage of 32 bits a pixel holds them:
// four bytes each, in the host's order, rows without padding of their own.
bool takesImagePixels(xcb_connection_t* c, std::uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const bool hostIsLittle = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    if ((setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) != hostIsLittle) return false;
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem; xcb_format_next(&format)) {
        if (format.data->depth == depth) return format.data->bits_per_pixel == 32 && format.data->scanline_pad <= 32;
    }
    return false;
}

}  // namespace

DirectFrames::DirectFrames(QWidget& view) : view_(view), connection_(qtX11Connection()) {}

DirectFrames::~DirectFrames() {
    xcb_connection_t* c = connection_;
    if (!c || xcb_connection_has_error(c)) return;
    stopQueue();
    if (askedDepth_) xcb_discard_reply(c, *askedDepth_);
    for (Part& part : parts_)
        forgetKept(part);
    if (gc_) xcb_free_gc(c, gc_);
}

std::optional<std::uint8_t> DirectFrames::windowDepth() {
    xcb_connection_t* c = connection_;
    QWidget* top = view_.window();
    if (!top->testAttribute(Qt::WA_WState_Created)) return {};
    if (const auto window = static_cast<xcb_window_t>(top->winId()); window != window_) {
        if (askedDepth_) xcb_discard_reply(c, *askedDepth_);
        if (gc_) xcb_free_gc(c, gc_);
        gc_ = 0;
        // Qt made its window anew; the queue's went with the one before.
        if (queue_) queue_->present->parentGone();
        stopQueue();
        window_ = window;
        depth_.reset();
        ratio_.reset();
        for (Part& part : parts_)
            forgetKept(part);
        parts_.clear();
        // Asked, not awaited: the server may be held by another client.
        askedDepth_ = xcb_get_geometry(c, window).sequence;
        xcb_flush(c);
    }
    if (askedDepth_) {
        const std::optional<XcbReply<void>> reply = polledReply(c, *askedDepth_);
        if (!reply) return {};
        askedDepth_.reset();
        const auto* geometry = static_cast<const xcb_get_geometry_reply_t*>(reply->get());
        depth_ = geometry && takesImagePixels(c, geometry->depth) ? geometry->depth : 0;
        if (*depth_) {
            gc_ = xcb_generate_id(c);
            const std::uint32_t noExposures = 0;
            xcb_create_gc(c, gc_, window_, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
        }
    }
    if (!depth_ || !*depth_) return {};
    return depth_;
}

// A change of the ratio repaints the whole window, after which it is asked again.
qreal DirectFrames::pixelRatio() const {
    if (!ratio_) {
        const QWindow* window = view_.window()->windowHandle();
        ratio_ = window ? window->devicePixelRatio() : view_.devicePixelRatioF();
    }
    return *ratio_;
}

bool DirectFrames::isCovered(const QRect& area) const {
    const auto covers = [](const QObject* object, const QRect& rect) {
        const auto* widget = qobject_cast<const QWidget*>(object);
        return widget && !widget->isWindow() && widget->isVisible() && widget->geometry().intersects(rect);
    };
    if (std::ranges::any_of(view_.children(), [&](const QObject* child) { return covers(child, area); })) return true;
    QRect inParent = area;
    for (const QWidget* child = &view_; !child->isWindow(); child = child->parentWidget()) {
        inParent.translate(child->pos());
        const QObjectList& siblings = child->parentWidget()->children();
        // Later siblings stand over earlier ones.
        for (auto sibling = std::ranges::find(siblings, child) + 1; sibling < siblings.end(); ++sibling) {
            if (covers(*sibling, inParent)) return true;
        }
    }
    return false;
}

QImage DirectFrames::takeStill(const QRect& area) {
    const qreal ratio = view_.devicePixelRatioF();
    QImage picture((QSizeF(area.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QWidget* top = view_.window();
    takingStill_ = true;
    top->render(&picture, QPoint(), QRegion(QRect(view_.mapTo(top, area.topLeft()), area.size())),
                QWidget::DrawWindowBackground | QWidget::DrawChildren);
    takingStill_ = false;
    return picture;
}

bool DirectFrames::put(const QRect& area, const QRegion& changed, const Painting& moving,
                       const std::optional<Look> look) {
    xcb_connection_t* c = connection_;
    if (!c || xcb_connection_has_error(c) || area.isEmpty() || !view_.isVisible()) return false;
    const std::optional<std::uint8_t> depth = windowDepth();
    if (!depth || isCovered(area)) return false;
    auto part = std::ranges::find(parts_, area, &Part::area);
    if (part == parts_.end()) {
        // A part that moved, as with a window that grows, may stand where Qt just painted.
        const bool owedWhole = !(QRegion(area) - shownAsQtPainted_).isEmpty();
        part = parts_.insert(parts_.end(), Part{area, QImage(), QImage(), owedWhole, {}});
    }
    const QRegion putting = part->owedWhole ? QRegion(area) : changed & area;
    // A frame owed whole comes once.
    const bool keeps = look && !part->owedWhole;
    const Look framesLook = look.value_or(0);
    // A change of the pixel ratio repaints the whole window, so a still once taken stays
    // right until Qt paints over it.
    const qreal ratio = part->still.isNull() ? pixelRatio() : part->still.devicePixelRatio();
    // Each rectangle, and the kept frame it is copied from where there is one: the same
    // for counting what goes and for sending it.
    struct Piece {
        QRect rect;
        QRect pixels;
        std::optional<std::size_t> kept;
    };
    std::vector<Piece> pieces;
    std::size_t bytes = 0;
    for (const QRect& rect : putting) {
        Piece& piece = pieces.emplace_back(Piece{rect, devicePixels(rect, area, ratio), std::nullopt});
        const auto kept = std::ranges::find_if(part->kept, [&](const Kept& k) {
            return keeps && k.look == framesLook && k.pixels.contains(piece.pixels);
        });
        if (kept != part->kept.end()) piece.kept = static_cast<std::size_t>(kept - part->kept.begin());
        bytes += piece.kept
                     ? sizeof(xcb_copy_area_request_t)
                     : kPutImageHeader + static_cast<std::size_t>(piece.pixels.width()) * piece.pixels.height() * 4 +
                           sizeof(xcb_create_pixmap_request_t) + sizeof(xcb_copy_area_request_t);
    }
    const std::optional<int> unread = bytesUnreadByServer(c);
    if (!unread || *unread + bytes > std::size_t{kMostUnread}) return false;
    if (part->still.isNull()) {
        part->still = takeStill(area);
        part->frame = QImage(part->still.size(), part->still.format());
        part->frame.setDevicePixelRatio(ratio);
    }
    const QPoint inWindow = view_.mapTo(view_.window(), area.topLeft()) * ratio;
    const auto copy = [&](std::uint32_t from, QPoint fromAt, const QRect& pixels) {
        const QPoint at = inWindow + pixels.topLeft();
        xcb_copy_area(c, from, window_, gc_, static_cast<std::int16_t>(fromAt.x()),
                      static_cast<std::int16_t>(fromAt.y()), static_cast<std::int16_t>(at.x()),
                      static_cast<std::int16_t>(at.y()), static_cast<std::uint16_t>(pixels.width()),
                      static_cast<std::uint16_t>(pixels.height()));
    };
    // One painter on the part's own frame for all of it, begun only if some of it is
    // painted: a painter begun on a new picture costs more than these few pixels.
    std::optional<QPainter> painter;
    for (const auto& [rect, pixels, keptAt] : pieces) {
        if (pixels.isEmpty()) continue;
        if (keptAt) {
            const Kept& kept = part->kept[*keptAt];
            copy(kept.pixmap, pixels.topLeft() - kept.pixels.topLeft(), pixels);
            continue;
        }
        const auto rowBytes = static_cast<std::size_t>(pixels.width()) * 4;
        for (int row = pixels.top(); row <= pixels.bottom(); ++row) {
            std::memcpy(part->frame.scanLine(row) + pixels.left() * 4,
                        part->still.constScanLine(row) + pixels.left() * 4, rowBytes);
        }
        if (!painter) painter.emplace(&part->frame);
        painter->resetTransform();
        painter->setClipRect(QRectF(QPointF(pixels.topLeft()) / ratio, QSizeF(pixels.size()) / ratio));
        painter->translate(-QPointF(area.topLeft()));
        moving(*painter, rect);
        const std::size_t pixelBytes = rowBytes * pixels.height();
        if (!keeps || keptBytes_ + pixelBytes > kMostKept) {
            sendPixels(part->frame, pixels, window_, inWindow + pixels.topLeft());
            continue;
        }
        const std::uint32_t pixmap = xcb_generate_id(c);
        xcb_create_pixmap(c, *depth, pixmap, window_, static_cast<std::uint16_t>(pixels.width()),
                          static_cast<std::uint16_t>(pixels.height()));
        sendPixels(part->frame, pixels, pixmap, QPoint());
        copy(pixmap, QPoint(), pixels);
        part->kept.push_back({framesLook, pixels, pixmap});
        keptBytes_ += pixelBytes;
    }
    // A small frame waits for the others of this turn. A larger one goes at once: xcb writes
    // what outgrows its buffer (16 KiB) by itself, and it would then be counted twice.
    if (bytes > kHeldBackAtMost) {
        sendNow(c);
    } else {
        sendAfterThisTurn(bytes);
    }
    part->owedWhole = false;
    // Subtracting makes a new region, which each frame would pay for.
    if (shownAsQtPainted_.intersects(putting)) shownAsQtPainted_ -= putting;
    for (Part& other : parts_) {
        if (&other != &*part && putting.intersects(other.area)) other.owedWhole = true;
    }
    return true;
}

std::optional<MediaTime> DirectFrames::queue(const QRect& area, const Round& round, const MediaTime now) {
    xcb_connection_t* c = connection_;
    const auto refuse = [&]() -> std::optional<MediaTime> {
        if (const std::optional<QRect> shown = stopQueue()) view_.update(*shown);
        return std::nullopt;
    };
    if (queueRefused_ || !c || xcb_connection_has_error(c) || area.isEmpty() || round.looks <= 0 ||
        !view_.isVisible() || !PresentQueue::isAvailable(c))
        return refuse();
    const std::optional<std::uint8_t> depth = windowDepth();
    if (!depth || isCovered(area)) return refuse();
    const qreal ratio = pixelRatio();
    const QRect pixels(view_.mapTo(view_.window(), area.topLeft()) * ratio, area.size() * ratio);
    const auto looks = static_cast<std::size_t>(round.looks);
    if (static_cast<std::size_t>(pixels.width()) * pixels.height() * 4 * looks > kMostQueued) return refuse();
    if (queue_ && (queue_->area != area || queue_->pixels != pixels || queue_->pictures.size() != looks)) refuse();
    if (!queue_) {
        queue_.emplace(Queue{area,
                             pixels,
                             std::make_unique<PresentQueue>(c, window_),
                             takeStill(area),
                             std::vector<std::uint32_t>(looks, 0),
                             round.lookAt(now) % round.looks,
                             0,
                             QImage(),
                             {},
                             std::nullopt,
                             0});
    }
    Queue& queued = *queue_;
    PresentQueue& present = *queued.present;
    present.learn(now);
    if (present.isUnmatched()) {
        queueRefused_ = true;
        return refuse();
    }
    const std::optional<int> unreadBefore = bytesUnreadByServer(c);
    if (!unreadBefore) return refuse();
    std::size_t sending = 0;
    // Until every look is on the server and its frames are counted, the caller puts them.
    if (queued.sent < looks) {
        if (*unreadBefore + kRoomForPut < kMostUnread)
            sending = sendPictures(round, kMostUnread - kRoomForPut - *unreadBefore);
    } else if (present.knowsFrames()) {
        if (!present.isOpen()) {
            present.open(pixels);
            // Qt's painting of the area is hidden under the queue's window from now on.
            for (Part& part : parts_) {
                if (part.area.intersects(area)) part.owedWhole = true;
            }
            shownAsQtPainted_ -= area;
        }
        const std::uint64_t shown = present.frameAt(now);
        // At the same frames for every view on the display, so that they wake together.
        const std::uint64_t nextFill = (present.nearestFrame(now) / kFilledEvery + 1) * kFilledEvery;
        std::uint64_t frame = std::max(queued.lastQueued.value_or(0), shown) + 1;
        for (; frame <= nextFill + kQueuedLeastLeft; ++frame) {
            const auto look = static_cast<std::size_t>(round.lookAt(present.timeOf(frame)) % round.looks);
            present.showAt(queued.pictures[look], frame);
            sending += sizeof(xcb_present_pixmap_request_t);
        }
        queued.lastQueued = frame - 1;
        queued.nextFill = nextFill;
    }
    if (sending > kHeldBackAtMost) {
        sendNow(c);
    } else {
        sendAfterThisTurn(sending);
    }
    if (!present.isOpen()) return std::nullopt;
    return present.timeOf(queued.nextFill);
}

std::size_t DirectFrames::sendPictures(const Round& round, std::size_t room) {
    xcb_connection_t* c = connection_;
    Queue& queued = *queue_;
    const std::size_t looks = queued.pictures.size();
    std::size_t sending = 0;
    while (queued.sent < looks) {
        const std::size_t look = (queued.firstLook + queued.sent) % looks;
        if (!queued.pictures[look]) {
            // Each look is the one before it with what changed between them.
            const std::uint32_t pixmap = xcb_generate_id(c);
            const auto width = static_cast<std::uint16_t>(queued.pixels.width());
            const auto height = static_cast<std::uint16_t>(queued.pixels.height());
            xcb_create_pixmap(c, *depth_, pixmap, window_, width, height);
            sending += sizeof(xcb_create_pixmap_request_t);
            queued.pictures[look] = pixmap;
            queued.frame = queued.still.copy();
            {
                QPainter painter(&queued.frame);
                painter.translate(-QPointF(queued.area.topLeft()));
                round.paint(painter, static_cast<int>(look));
            }
            queued.unsent.clear();
            const qreal ratio = queued.still.devicePixelRatio();
            if (queued.sent == 0) {
                queued.unsent.push_back(QRect(QPoint(), queued.pixels.size()));
            } else {
                const std::size_t before = (look + looks - 1) % looks;
                xcb_copy_area(c, queued.pictures[before], pixmap, gc_, 0, 0, 0, 0, width, height);
                sending += sizeof(xcb_copy_area_request_t);
                for (const QRect& rect : round.change(static_cast<int>(before), static_cast<int>(look)) & queued.area) {
                    if (const QRect pixels = devicePixels(rect, queued.area, ratio); !pixels.isEmpty())
                        queued.unsent.push_back(pixels);
                }
            }
        }
        while (!queued.unsent.empty()) {
            QRect& rect = queued.unsent.back();
            const auto rowBytes = static_cast<std::size_t>(rect.width()) * 4;
            const std::size_t rows =
                std::min<std::size_t>(rect.height(), (room - std::min(room, sending + kPutImageHeader)) / rowBytes);
            if (rows == 0) return sending;
            const QRect band(rect.topLeft(), QSize(rect.width(), static_cast<int>(rows)));
            sendPixels(queued.frame, band, queued.pictures[look], band.topLeft());
            sending += kPutImageHeader + rowBytes * rows;
            rect.setTop(rect.top() + static_cast<int>(rows));
            if (rect.isEmpty()) queued.unsent.pop_back();
        }
        ++queued.sent;
    }
    return sending;
}

std::optional<QRect> DirectFrames::stopQueue() {
    if (!queue_) return std::nullopt;
    const std::optional<QRect> shown = queue_->present->isOpen() ? std::optional(queue_->area) : std::nullopt;
    xcb_connection_t* c = connection_;
    if (!xcb_connection_has_error(c)) {
        for (const std::uint32_t pixmap : queue_->pictures) {
            if (pixmap) xcb_free_pixmap(c, pixmap);
        }
    }
    queue_.reset();
    sendAfterThisTurn(sizeof(xcb_destroy_window_request_t));
    return shown;
}

QRect DirectFrames::devicePixels(const QRect& rect, const QRect& area, qreal ratio) {
    return QRect((rect.topLeft() - area.topLeft()) * ratio, rect.size() * ratio) & QRect(QPoint(), area.size() * ratio);
}

void DirectFrames::sendPixels(const QImage& picture, const QRect& pixels, std::uint32_t drawable, QPoint at) {
    // The server takes the rows one after the other.
    const auto rowBytes = static_cast<std::size_t>(pixels.width()) * 4;
    sending_.resize(rowBytes * pixels.height());
    for (int row = 0; row < pixels.height(); ++row) {
        std::memcpy(sending_.data() + row * rowBytes, picture.constScanLine(pixels.top() + row) + pixels.left() * 4,
                    rowBytes);
    }
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, gc_, static_cast<std::uint16_t>(pixels.width()),
                  static_cast<std::uint16_t>(pixels.height()), static_cast<std::int16_t>(at.x()),
                  static_cast<std::int16_t>(at.y()), 0, *depth_, static_cast<std::uint32_t>(sending_.size()),
                  sending_.data());
}

void DirectFrames::forgetKept(Part& part) {
    xcb_connection_t* c = connection_;
    for (const Kept& kept : part.kept) {
        if (!xcb_connection_has_error(c)) xcb_free_pixmap(c, kept.pixmap);
        keptBytes_ -= static_cast<std::size_t>(kept.pixels.width()) * kept.pixels.height() * 4;
    }
    part.kept.clear();
}

// Qt's paint of the whole part shows the view as it stands, as a frame would.
void DirectFrames::paintedByQt(const QRegion& painted) {
    // What is queued shows what stood still before.
    if (queue_ && painted.intersects(queue_->area)) stopQueue();
    shownAsQtPainted_ += painted;
    ratio_.reset();
    for (Part& part : parts_) {
        if (!painted.intersects(part.area)) continue;
        forgetKept(part);
        part.still = QImage();
        part.frame = QImage();
        part.owedWhole = !(QRegion(part.area) - painted).isEmpty();
    }
}

}  // namespace quillbern
