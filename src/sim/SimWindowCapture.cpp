#include "sim/SimWindowCapture.h"

namespace quillbern {

void SimWindowCapture::listWindows(std::function<void(Result<std::vector<CapturableWindow>>)> done) {
    ++listCount_;
    Result<std::vector<CapturableWindow>> answer =
        listFails_ ? Result<std::vector<CapturableWindow>>(Error{"not allowed", "capture", 1}) : windows_;
    answers_.after(0, [done = std::move(done), answer = std::move(answer)] { done(answer); }).detach();
}

void SimWindowCapture::capture(WindowId id, int widthPx, int heightPx, std::function<void(Result<ImageHandle>)> done) {
    captures_.push_back({id, widthPx, heightPx});
    Result<ImageHandle> answer =
        fails_[id] ? Result<ImageHandle>(Error{"capture failed", "capture", 2})
                   : Result<ImageHandle>(solidImage(widthPx, heightPx, alpha_.contains(id) ? alpha_[id] : 255));
    answers_.after(captureDelay_, [done = std::move(done), answer = std::move(answer)] { done(answer); }).detach();
}

void SimWindowCapture::setWindows(std::vector<CapturableWindow> windows) {
    windows_ = std::move(windows);
}

void SimWindowCapture::setCaptureFails(WindowId id, bool fails) {
    fails_[id] = fails;
}

ImageHandle SimWindowCapture::solidImage(int widthPx, int heightPx, std::uint8_t alpha) {
    PixelBuffer pixels{widthPx, heightPx, {}};
    pixels.rgbaPremultiplied.reserve(static_cast<std::size_t>(widthPx) * heightPx * 4);
    for (int i = 0; i < widthPx * heightPx; ++i) {
        pixels.rgbaPremultiplied.insert(pixels.rgbaPremultiplied.end(), {alpha, alpha, alpha, alpha});
    }
    return std::make_shared<const Image>(Image{widthPx, heightPx, 1, std::move(pixels), nullptr});
}

}  // namespace quillbern
