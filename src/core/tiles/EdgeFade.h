#pragma once

#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"

namespace quillbern {

// Whether the ends of a dock's scrolling strip fade out. The fade comes only once the strip
// has overflowed its scroll area for a moment, so a strip that overflows briefly while it
// changes does not flicker; it goes at once when the strip fits again. Main thread.
class EdgeFade {
public:
    // How long an overflow must last before the ends fade.
    static constexpr Duration kConfirmDelay = 0.2;
    // A strip longer than its scroll area by no more than this still fits.
    static constexpr double kTolerance = 1;

    explicit EdgeFade(RunLoop& mainLoop);
    EdgeFade(const EdgeFade&) = delete;
    EdgeFade& operator=(const EdgeFade&) = delete;

    // New measurements along the dock's axis: the strip's length and the visible length
    // of its scroll area. A value equal to the last one is no new measurement.
    void setStripSpan(double span);
    void setScrollSpan(double span);

    bool showsFade() const { return showsFade_; }
    double stripSpan() const { return stripSpan_; }

    // When showsFade changes.
    Signal<> changed;

private:
    void update();
    bool overflows() const { return stripSpan_ > scrollSpan_ + kTolerance; }
    void setShowsFade(bool shows);

    RunLoop& loop_;
    double stripSpan_ = 0;
    double scrollSpan_ = 0;
    bool showsFade_ = false;
    Timer confirm_;
    Lifetime lifetime_;
};

}  // namespace quillbern
