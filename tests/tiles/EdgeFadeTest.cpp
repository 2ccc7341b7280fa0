#include <gtest/gtest.h>

#include "core/tiles/EdgeFade.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

class Fade : public ::testing::Test {
protected:
    void measure(double strip, double scroll) {
        fade.setStripSpan(strip);
        fade.setScrollSpan(scroll);
    }

    SimWorld world;
    EdgeFade fade{world.mainLoop};
    int changes = 0;
    Subscription observer = fade.changed.connect([this] { ++changes; });
};

TEST_F(Fade, AnOverflowOfMoreThanOnePointFadesAfterItHeld) {
    measure(301, 300);
    world.advance(1);
    EXPECT_FALSE(fade.showsFade()) << "one point over still fits";

    fade.setStripSpan(301.5);
    world.advance(0.199);
    EXPECT_FALSE(fade.showsFade());
    world.advance(0.001);
    EXPECT_TRUE(fade.showsFade());
    EXPECT_EQ(changes, 1);
}

TEST_F(Fade, ABriefOverflowNeverFades) {
    measure(400, 300);
    world.advance(0.15);
    fade.setStripSpan(280);
    world.advance(1);
    EXPECT_FALSE(fade.showsFade());
    EXPECT_EQ(changes, 0);
}

TEST_F(Fade, EveryNewMeasurementRestartsTheWait) {
    measure(400, 300);
    for (int i = 1; i <= 5; ++i) {
        world.advance(0.1);
        fade.setStripSpan(400 + i);
    }
    world.advance(0.19);
    EXPECT_FALSE(fade.showsFade()) << "0.2 s after the last measurement, not the first";
    world.advance(0.01);
    EXPECT_TRUE(fade.showsFade());

    // An unchanged length is no new measurement.
    fade.setStripSpan(405);
    EXPECT_TRUE(fade.showsFade());
}

TEST_F(Fade, AFadedStripKeepsItsFadeAndLosesItAtOnceWhenItFits) {
    measure(400, 300);
    world.advance(0.2);
    ASSERT_TRUE(fade.showsFade());
    fade.setStripSpan(450);
    EXPECT_TRUE(fade.showsFade()) << "no new wait";
    world.advance(1);
    EXPECT_EQ(changes, 1);

    fade.setScrollSpan(440);
    EXPECT_TRUE(fade.showsFade());
    fade.setScrollSpan(460);
    EXPECT_FALSE(fade.showsFade()) << "at the first measurement that fits";
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace quillbern
