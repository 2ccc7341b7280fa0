#include <gtest/gtest.h>

#include "core/platform/PanelAnimator.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

constexpr RectBL kStart{100, 14, 400, 90};
constexpr RectBL kAway{100, 0, 400, 90};

std::unique_ptr<Panel> dock(SimWorld& world, PanelLevel level = PanelLevel::dock) {
    return world.panels.createPanel(PanelStyle{level, false}, kStart, PlainFill{});
}

}  // namespace

TEST(Panel, AnimatesOnVirtualTimeAndCompletesOnceAfterTheEnd) {
    SimWorld world;
    auto panel = dock(world);
    int done = 0;
    panel->animate({0.22, AnimationCurve::easeIn}, 0.0, kAway, [&] { ++done; });
    world.advance(0.11);
    EXPECT_GT(panel->alpha(), 0.0);
    EXPECT_LT(panel->alpha(), 1.0);
    // Ease-in: less than half the way at half the time.
    EXPECT_GT(panel->frame().y, 7.0);
    EXPECT_LT(panel->frame().y, 14.0);
    EXPECT_EQ(done, 0);
    world.advance(0.12);
    EXPECT_EQ(panel->frame(), kAway);
    EXPECT_EQ(panel->alpha(), 0.0);
    EXPECT_EQ(done, 1);
    world.advance(1);
    EXPECT_EQ(done, 1);
}

TEST(Panel, ANewerAnimationTakesOverFromWhereTheOldOneStood) {
    SimWorld world;
    auto panel = dock(world);
    std::vector<std::string> order;
    panel->animate({0.22, AnimationCurve::linear}, 0.0, kAway, [&] { order.push_back("conceal"); });
    world.advance(0.1);
    const RectBL midway = panel->frame();
    panel->animate({0.28, AnimationCurve::easeOut}, 1.0, kStart, [&] { order.push_back("reveal"); });
    EXPECT_EQ(panel->frame(), midway) << "no jump when the reveal starts";
    world.runUntilIdle();
    EXPECT_EQ(order, std::vector<std::string>{"conceal"}) << "the replaced animation completes at once";
    world.advance(0.3);
    EXPECT_EQ(order, (std::vector<std::string>{"conceal", "reveal"}));
    EXPECT_EQ(panel->frame(), kStart);
    EXPECT_EQ(panel->alpha(), 1.0);
}

TEST(Panel, DirectAssignmentsWinOverTheAnimationOfTheSameProperty) {
    SimWorld world;
    auto panel = dock(world);
    int done = 0;
    panel->animate({0.2, AnimationCurve::linear}, 0.0, kAway, [&] { ++done; });
    world.advance(0.05);
    panel->setFrame(RectBL{5, 5, 50, 50});
    world.advance(0.2);
    EXPECT_EQ(panel->frame(), (RectBL{5, 5, 50, 50}));
    EXPECT_EQ(panel->alpha(), 0.0) << "the alpha still ran to its end";
    EXPECT_EQ(done, 1);

    // Taking both properties away ends the animation then.
    panel->animate({0.2, AnimationCurve::linear}, 1.0, kStart, [&] { ++done; });
    panel->setAlpha(0.5);
    panel->setFrame(kAway);
    world.runUntilIdle();
    EXPECT_EQ(done, 2);
    world.advance(0.3);
    EXPECT_EQ(panel->alpha(), 0.5);
    EXPECT_EQ(panel->frame(), kAway);
}

TEST(Panel, ZeroDurationAndClosingMidwayStillCompleteExactlyOnce) {
    SimWorld world;
    auto panel = dock(world);
    int done = 0;
    panel->animate({0, AnimationCurve::easeOut}, 0.25, std::nullopt, [&] { ++done; });
    EXPECT_EQ(panel->alpha(), 0.25);
    EXPECT_EQ(done, 0) << "completion runs on the loop, not inside animate";
    world.runUntilIdle();
    EXPECT_EQ(done, 1);

    panel->animate({1, AnimationCurve::linear}, 1.0, std::nullopt, [&] { ++done; });
    world.advance(0.5);
    const std::uint64_t serial = panel->serial();
    panel.reset();
    world.advance(1);
    EXPECT_EQ(done, 2);
    EXPECT_TRUE(world.panels.panel(serial)->closed);
}

TEST(Panel, CurvesStartAndEndInPlace) {
    for (auto curve :
         {AnimationCurve::linear, AnimationCurve::easeIn, AnimationCurve::easeOut, AnimationCurve::easeInOut}) {
        EXPECT_EQ(PanelAnimator::progress(curve, 0), 0);
        EXPECT_EQ(PanelAnimator::progress(curve, 1), 1);
        EXPECT_EQ(PanelAnimator::progress(curve, 2), 1);
    }
    EXPECT_LT(PanelAnimator::progress(AnimationCurve::easeIn, 0.5), 0.5);
    EXPECT_GT(PanelAnimator::progress(AnimationCurve::easeOut, 0.5), 0.5);
    EXPECT_EQ(PanelAnimator::progress(AnimationCurve::easeInOut, 0.5), 0.5);
}

TEST(PanelHost, LevelsDecideTheOrderBeforeRecency) {
    SimWorld world;
    auto palette = dock(world, PanelLevel::palette);
    auto dockA = dock(world);
    auto veil = dock(world, PanelLevel::veil);
    auto placement = dock(world, PanelLevel::placement);
    auto dockB = dock(world);
    EXPECT_FALSE(dockA->isVisible()) << "panels start ordered out";
    for (Panel* p : {palette.get(), dockA.get(), dockB.get(), veil.get(), placement.get()})
        p->orderFront();
    EXPECT_EQ(world.panels.frontToBack(),
              (std::vector<std::uint64_t>{palette->serial(), dockB->serial(), dockA->serial(), placement->serial(),
                                          veil->serial()}));
    dockA->orderFront();
    veil->orderOut();
    EXPECT_FALSE(veil->isVisible());
    EXPECT_EQ(world.panels.frontToBack(),
              (std::vector<std::uint64_t>{palette->serial(), dockA->serial(), dockB->serial(), placement->serial()}));
}

TEST(PanelHost, SerialsAreNeverReusedAndACommandClickMayCloseItsOwnPanel) {
    SimWorld world;
    auto first = dock(world);
    const std::uint64_t firstSerial = first->serial();
    first.reset();
    auto second = dock(world);
    EXPECT_NE(second->serial(), firstSerial);
    EXPECT_EQ(world.panels.openCount(), 1u);
    EXPECT_FALSE(world.panels.commandClick(firstSerial)) << "a closed panel takes no clicks";

    int clicks = 0;
    second->setCommandClickHandler([&] {
        ++clicks;
        second.reset();  // closes the panel from inside its own handler
    });
    second->orderFront();
    const std::uint64_t serial = second->serial();
    EXPECT_TRUE(world.panels.commandClick(serial));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(world.panels.panel(serial)->closed);
    EXPECT_TRUE(world.panels.frontToBack().empty());
    EXPECT_EQ(world.panels.openCount(), 0u);
}
