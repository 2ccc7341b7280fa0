#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/Geometry.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/platform/WindowCapture.h"

namespace quillbern {

// Takes one still picture of one window for a hover preview, scaled to fit a pixel box.
// Its state is touched only on the main loop, where the capture port's answers are
// brought; calls may interleave while one waits for the system.
class PreviewCapturer {
public:
    // The list of capturable windows is an expensive query; a younger one is reused.
    static constexpr Duration kContentReuse = 2.0;
    static constexpr int kBlankTestSide = 16;

    struct PixelSize {
        int width = 1;
        int height = 1;
        bool operator==(const PixelSize&) const = default;
    };

    PreviewCapturer(WindowCapture& capture, const Clock& clock, RunLoop& mainLoop);

    // `done` runs on the main loop with the picture, or null when the window is not found,
    // the capture fails or the picture is blank.
    void thumbnail(WindowId id, Size maxPixelSize, std::function<void(ImageHandle)> done);

    // The window's own pixel size scaled to fit the box, keeping its aspect ratio up to
    // rounding, never enlarged, never below 1 x 1.
    static PixelSize captureSize(const CapturableWindow& window, Size maxPixelSize);
    // Fully transparent when drawn into a 16 x 16 raster. A picture whose pixels cannot be
    // read counts as not blank.
    static bool isEffectivelyBlank(const Image& image);

private:
    void resolve(WindowId id, std::function<void(std::optional<CapturableWindow>)> done);
    std::optional<CapturableWindow> find(WindowId id) const;

    WindowCapture& capture_;
    const Clock& clock_;
    RunLoop& mainLoop_;
    std::optional<std::vector<CapturableWindow>> content_;
    MediaTime contentStamp_;
    Lifetime lifetime_;
};

}  // namespace quillbern
