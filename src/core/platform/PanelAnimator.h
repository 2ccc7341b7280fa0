#pragma once

#include <functional>
#include <optional>

#include "core/foundation/Geometry.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/platform/FrameClock.h"
#include "core/platform/PanelHost.h"

namespace quillbern {

// Runs one panel's animation of alpha and frame on the frame clock, so the same code moves
// real panels on the Qt loop and simulated ones on virtual time.
class PanelAnimator {
public:
    // Receives the values of each step; a property that is not animated stays absent.
    using Apply = std::function<void(std::optional<double> alpha, std::optional<RectBL> frame)>;

    PanelAnimator(FrameClock& frames, Apply apply);
    // A running animation's completion still runs, posted.
    ~PanelAnimator();
    PanelAnimator(const PanelAnimator&) = delete;
    PanelAnimator& operator=(const PanelAnimator&) = delete;

    // Replaces a running animation, whose completion is posted at once.
    void start(Animation animation, double fromAlpha, RectBL fromFrame, std::optional<double> toAlpha,
               std::optional<RectBL> toFrame, Task onDone);
    // A direct assignment takes a property away from the animation; with nothing left to
    // move the animation ends.
    void releaseAlpha();
    void releaseFrame();
    bool isRunning() const { return running_; }

    static double progress(AnimationCurve curve, double t);

private:
    void askStep();
    void step();
    void finish();

    FrameClock& frames_;
    Apply apply_;
    bool running_ = false;
    Animation animation_;
    MediaTime start_;
    double fromAlpha_ = 1;
    RectBL fromFrame_;
    std::optional<double> toAlpha_;
    std::optional<RectBL> toFrame_;
    Task onDone_;
    bool stepAsked_ = false;
    Timer end_;
    Lifetime lifetime_;
};

}  // namespace quillbern
