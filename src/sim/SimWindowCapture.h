#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "core/platform/WindowCapture.h"
#include "sim/ManualRunLoop.h"

namespace quillbern {

// Capturable windows and pictures as a test scripts them. Answers come on a loop of their
// own (another thread, as far as the core can tell) after scripted delays on virtual time.
class SimWindowCapture final : public WindowCapture {
public:
    struct CaptureRequest {
        WindowId id;
        int widthPx;
        int heightPx;
        bool operator==(const CaptureRequest&) const = default;
    };

    explicit SimWindowCapture(SimClock& clock) : answers_(clock) {}

    void listWindows(std::function<void(Result<std::vector<CapturableWindow>>)> done) override;
    void capture(WindowId id, int widthPx, int heightPx, std::function<void(Result<ImageHandle>)> done) override;

    // What the next lists answer: these windows, or a failure.
    void setWindows(std::vector<CapturableWindow> windows);
    void setListFails(bool fails) { listFails_ = fails; }
    // Captures of this window fail, or give a picture of the requested size whose every
    // pixel has this alpha (0: fully transparent).
    void setCaptureFails(WindowId id, bool fails);
    void setCaptureAlpha(WindowId id, std::uint8_t alpha) { alpha_[id] = alpha; }
    void setCaptureDelay(Duration delay) { captureDelay_ = delay; }

    int listCount() const { return listCount_; }
    const std::vector<CaptureRequest>& captures() const { return captures_; }

    // A picture of one colour with premultiplied alpha.
    static ImageHandle solidImage(int widthPx, int heightPx, std::uint8_t alpha);

private:
    ManualRunLoop answers_;
    std::vector<CapturableWindow> windows_;
    bool listFails_ = false;
    Duration captureDelay_ = 0;
    std::map<WindowId, bool> fails_;
    std::map<WindowId, std::uint8_t> alpha_;
    int listCount_ = 0;
    std::vector<CaptureRequest> captures_;
};

}  // namespace quillbern
