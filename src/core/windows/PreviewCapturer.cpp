#include "core/windows/PreviewCapturer.h"

#include <algorithm>
#include <cmath>

namespace quillbern {

PreviewCapturer::PreviewCapturer(WindowCapture& capture, const Clock& clock, RunLoop& mainLoop)
    : capture_(capture), clock_(clock), mainLoop_(mainLoop) {}

std::optional<CapturableWindow> PreviewCapturer::find(WindowId id) const {
    const auto found =
        std::find_if(content_->begin(), content_->end(), [id](const CapturableWindow& w) { return w.id == id; });
    return found == content_->end() ? std::nullopt : std::optional<CapturableWindow>(*found);
}

void PreviewCapturer::resolve(WindowId id, std::function<void(std::optional<CapturableWindow>)> done) {
    // A window missing from a young list is not fetched again: it may have opened just now
    // and will be found once the list has aged.
    if (content_ && clock_.mediaNow() - contentStamp_ < kContentReuse) {
        done(find(id));
        return;
    }
    capture_.listWindows(
        onLoop(mainLoop_, lifetime_.token(), [this, id, done](const Result<std::vector<CapturableWindow>>& listed) {
            // A failed fetch keeps the list and stamp as they were.
            if (!listed) {
                done(std::nullopt);
                return;
            }
            content_ = listed.value();
            contentStamp_ = clock_.mediaNow();
            done(find(id));
        }));
}

void PreviewCapturer::thumbnail(WindowId id, Size maxPixelSize, std::function<void(ImageHandle)> done) {
    resolve(id, [this, maxPixelSize, done](const std::optional<CapturableWindow>& window) {
        if (!window) {
            done(nullptr);
            return;
        }
        const PixelSize size = captureSize(*window, maxPixelSize);
        capture_.capture(window->id, size.width, size.height,
                         onLoop(mainLoop_, lifetime_.token(), [done](const Result<ImageHandle>& captured) {
                             if (!captured || !captured.value() || isEffectivelyBlank(*captured.value())) {
                                 done(nullptr);
                             } else {
                                 done(captured.value());
                             }
                         }));
    });
}

PreviewCapturer::PixelSize PreviewCapturer::captureSize(const CapturableWindow& window, Size maxPixelSize) {
    const double w = std::max(window.contentSize.width * window.pixelsPerPoint, 1.0);
    const double h = std::max(window.contentSize.height * window.pixelsPerPoint, 1.0);
    const double s = std::min({1.0, maxPixelSize.width / w, maxPixelSize.height / h});
    return {static_cast<int>(std::max(std::round(w * s), 1.0)), static_cast<int>(std::max(std::round(h * s), 1.0))};
}

bool PreviewCapturer::isEffectivelyBlank(const Image& image) {
    if (!image.pixels) return false;
    const PixelBuffer& pixels = *image.pixels;
    if (pixels.width <= 0 || pixels.height <= 0) return true;
    const auto needed = static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height) * 4;
    if (pixels.rgbaPremultiplied.size() < needed) return false;
    // Drawn small with the cheapest interpolation: the pixel nearest each raster cell's centre.
    for (int row = 0; row < kBlankTestSide; ++row) {
        const int y = std::min(pixels.height - 1, static_cast<int>((row + 0.5) * pixels.height / kBlankTestSide));
        for (int column = 0; column < kBlankTestSide; ++column) {
            const int x = std::min(pixels.width - 1, static_cast<int>((column + 0.5) * pixels.width / kBlankTestSide));
            const std::size_t alpha = (static_cast<std::size_t>(y) * pixels.width + x) * 4 + 3;
            if (pixels.rgbaPremultiplied[alpha] != 0) return false;
        }
    }
    return true;
}

}  // namespace quillbern
