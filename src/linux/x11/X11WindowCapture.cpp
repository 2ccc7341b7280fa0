#include "linux/x11/X11WindowCapture.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <set>
#include <xcb/composite.h>

#include "core/foundation/Log.h"
#include "core/platform/WorkerStop.h"
#include "linux/x11/X11ClientTable.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

namespace {

constexpr Duration kStartLimit = 2.0;
constexpr Duration kListLimit = 2.0;
const std::string kDomain = "X11WindowCapture";

Error failure(std::string message) {
    return Error{std::move(message), kDomain, 0};
}

ImageHandle imageOf(const QImage& source, int widthPx, int heightPx) {
    const QImage scaled = source.scaled(widthPx, heightPx, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    PixelBuffer pixels{scaled.width(), scaled.height(), {}};
    const auto rowBytes = std::size_t(scaled.width()) * 4;
    pixels.rgbaPremultiplied.resize(rowBytes * std::size_t(scaled.height()));
    for (int row = 0; row < scaled.height(); ++row) {
        std::memcpy(pixels.rgbaPremultiplied.data() + rowBytes * std::size_t(row), scaled.constScanLine(row), rowBytes);
    }
    auto image = std::make_shared<Image>();
    image->widthPx = pixels.width;
    image->heightPx = pixels.height;
    image->pixels = std::move(pixels);
    return image;
}

}  // namespace

// The worker's connection and what it redirected; touched on the worker only (before it
// starts, by the constructor).
class X11WindowCapture::Capturer {
public:
    Capturer();

    Result<std::vector<CapturableWindow>> list();
    Result<ImageHandle> picture(WindowId id, int widthPx, int heightPx);

private:
    void redirect(WindowId id);

    std::unique_ptr<XcbConnection> connection_;
    std::unique_ptr<X11ClientReader> reader_;
    bool hasComposite_ = false;
    std::set<WindowId> redirected_;
};

X11WindowCapture::Capturer::Capturer() : connection_(XcbConnection::open()) {
    if (connection_) {
        xcb_connection_t* c = connection_->xcb();
        reader_ = std::make_unique<X11ClientReader>(*connection_);
        const xcb_query_extension_reply_t* composite = xcb_get_extension_data(c, &xcb_composite_id);
        if (composite && composite->present) {
            const XcbReply<xcb_composite_query_version_reply_t> version(
                xcb_composite_query_version_reply(c, xcb_composite_query_version(c, 0, 2), nullptr));
            hasComposite_ = version && (version->major_version > 0 || version->minor_version >= 2);
        }
        if (!hasComposite_) log("the X server has no Composite 0.2: no window previews");
    }
}

X11WindowCapture::X11WindowCapture(Threads& threads)
    : threads_(threads),
      capturer_(std::make_shared<Capturer>()),
      loop_(threads.startWorker(kThreadName, kStartLimit)) {}

X11WindowCapture::~X11WindowCapture() {
    stop();
}

void X11WindowCapture::stop() {
    stopWorker(std::move(loop_), threads_, kThreadName);
}

void X11WindowCapture::listWindows(std::function<void(Result<std::vector<CapturableWindow>>)> done) {
    if (!loop_) {
        done(failure("no capture thread"));
        return;
    }
    loop_->post([capturer = capturer_, done = std::move(done)] { done(capturer->list()); });
}

void X11WindowCapture::capture(WindowId id, int widthPx, int heightPx, std::function<void(Result<ImageHandle>)> done) {
    if (!loop_) {
        done(failure("no capture thread"));
        return;
    }
    loop_->post([capturer = capturer_, id, widthPx, heightPx, done = std::move(done)] {
        done(capturer->picture(id, widthPx, heightPx));
    });
}

Result<std::vector<CapturableWindow>> X11WindowCapture::Capturer::list() {
    if (!hasComposite_ || connection_->isBroken()) return failure("no Composite extension");
    const auto deadline =
        std::chrono::steady_clock::now() +
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(kListLimit));
    const auto clients = reader_->read(DesktopSpace{}, deadline);
    connection_->takeEvents();
    if (!clients) return failure("no client list");
    std::vector<CapturableWindow> windows;
    std::set<WindowId> present;
    for (const ClientFacts& client : clients->frontToBack) {
        if (client.isDockOrDesktop || !client.frame) continue;
        const FrameExtents& e = client.extents;
        windows.push_back(
            {client.window, Size{client.frame->width - e.left - e.right, client.frame->height - e.top - e.bottom}, 1});
        present.insert(client.window);
        // Redirected early, the window has drawn all of itself by the time it is captured.
        redirect(client.window);
    }
    std::erase_if(redirected_, [&present](WindowId id) { return !present.contains(id); });
    xcb_flush(connection_->xcb());
    return windows;
}

void X11WindowCapture::Capturer::redirect(WindowId id) {
    if (redirected_.insert(id).second)
        xcb_composite_redirect_window(connection_->xcb(), id, XCB_COMPOSITE_REDIRECT_AUTOMATIC);
}

Result<ImageHandle> X11WindowCapture::Capturer::picture(WindowId id, int widthPx, int heightPx) {
    if (!hasComposite_ || connection_->isBroken()) return failure("no Composite extension");
    if (widthPx < 1 || heightPx < 1) return failure("no pixels asked for");
    xcb_connection_t* c = connection_->xcb();
    redirect(id);
    const XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    if (!geometry) {
        redirected_.erase(id);
        return failure("the window is gone");
    }
    // An unmapped (minimised) window has no pixmap: naming one fails and so does the read.
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_composite_name_window_pixmap(c, id, pixmap);
    const auto border = std::int16_t(geometry->border_width);
    const auto cookie =
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, border, border, geometry->width, geometry->height, ~0u);
    xcb_generic_error_t* error = nullptr;
    const XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(c, cookie, &error));
    std::free(error);
    xcb_free_pixmap(c, pixmap);
    xcb_flush(c);
    connection_->takeEvents();
    if (!reply) return failure("the window has no pixels");
    const int length = xcb_get_image_data_length(reply.get());
    const int bytesPerLine = int(geometry->width) * 4;
    if (reply->depth < 24 || length < bytesPerLine * int(geometry->height)) return failure("unexpected pixel format");
    const QImage source(xcb_get_image_data(reply.get()), geometry->width, geometry->height, bytesPerLine,
                        reply->depth == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return imageOf(source, widthPx, heightPx);
}

}  // namespace quillbern
