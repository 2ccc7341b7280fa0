#include <gtest/gtest.h>

#include "sim/SimWorld.h"

using namespace quillbern;

TEST(SimInput, PressCountWrapsAndMonitorsSeeOnlyTheirButtons) {
    SimWorld world;
    world.input.setPressCount(0xFFFFFFFFu);
    const std::uint32_t before = world.input.pressCount();
    world.input.press();
    EXPECT_EQ(world.input.pressCount(), 0u);
    EXPECT_NE(world.input.pressCount(), before) << "a wrap still reads as a click";

    std::vector<MouseButtons> seen;
    Subscription leftOrRight = world.events.onGlobalMouseDown(kLeftButton | kRightButton,
                                                              [&](const MouseDown& d) { seen.push_back(d.button); });
    for (MouseButtons b : {kLeftButton, kOtherButton, kRightButton})
        world.events.injectGlobalMouseDown({{5, 5}, b, 0, {}});
    EXPECT_EQ(seen, (std::vector<MouseButtons>{kLeftButton, kRightButton}));
    leftOrRight.reset();
    world.events.injectGlobalMouseDown({{5, 5}, kLeftButton, 0, {}});
    EXPECT_EQ(seen.size(), 2u);

    world.events.setRefusesMonitors(true);
    EXPECT_FALSE(world.events.onGlobalMouseDown(kLeftButton, [](const MouseDown&) {}));
    EXPECT_EQ(world.events.globalMonitorCount(), 0u);
}
