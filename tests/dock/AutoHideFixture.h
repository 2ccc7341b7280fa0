#pragma once

#include <gtest/gtest.h>

#include "dock/DockTestWorld.h"

namespace quillbern::testing {

inline constexpr PointBL kAway{960, 540};

// Auto-hide on virtual time with a scripted pointer. The left display is 1920 x 1080 with
// a 30-point bar at the top; the right one, 1280 x 1024, touches its right edge. A lone
// bottom dock without items is 180 long: x 870 to 1050 on the left display.
class AutoHide : public ::testing::Test {
protected:
    DockTestWorld w;

    void open(const std::vector<Profile>& docks) {
        w.world.input.setPointer(kAway);
        w.open(docks);
        w.controller().start();
    }
    // Long enough for the leave delay and the hide animation.
    void settle() { w.world.advance(1.2); }
    void pointAt(PointBL p) { w.world.input.setPointer(p); }
    void ticks(int n) { w.world.advance(n * DockController::kTickPeriod); }
    // Ordered in: revealed, or still fading out.
    bool shown(DisplayId display, int n) {
        const SimPanelState* panel = w.panel(display, n);
        return panel && panel->visible;
    }
    RectBL resting(DisplayId display, int n) {
        return *w.controller().stackedFrame(PanelKey{display, simDock(n, DockEdge::bottom).id});
    }
};

}  // namespace quillbern::testing
