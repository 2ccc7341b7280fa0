#pragma once

#include <functional>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/foundation/Result.h"
#include "core/platform/Types.h"

namespace quillbern {

// A window the system can take a picture of.
struct CapturableWindow {
    WindowId id = 0;
    // Points.
    Size contentSize;
    double pixelsPerPoint = 1;
};

// Pictures of other applications' windows. Answers may come on any thread.
class WindowCapture {
public:
    virtual ~WindowCapture() = default;

    // Every window that can be captured, on screen or not; an expensive query.
    virtual void listWindows(std::function<void(Result<std::vector<CapturableWindow>>)> done) = 0;  // [any]
    // One picture of the window at exactly this pixel size, its pixels readable.
    virtual void capture(WindowId id, int widthPx, int heightPx,
                         std::function<void(Result<ImageHandle>)> done) = 0;  // [any]
};

}  // namespace quillbern
