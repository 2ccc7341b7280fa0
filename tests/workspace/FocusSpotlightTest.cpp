#include <gtest/gtest.h>

#include "core/workspace/FocusSpotlight.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

// Two 1280x1080 screens side by side, the left one primary.
constexpr RectBL kLeft{0, 0, 1280, 1080};
constexpr RectBL kRight{1280, 0, 1280, 1080};
constexpr RectTL kNotes{100, 50, 800, 600};

ScreenInfo screen(DisplayId id, RectBL frame) {
    ScreenInfo info;
    info.id = id;
    info.stableId = std::to_string(id);
    info.frame = frame;
    info.visibleFrame = frame;
    return info;
}

WindowInfo window(WindowId id, RectTL frame) {
    WindowInfo info;
    info.id = id;
    info.pid = 40;
    info.appName = "Editor";
    info.frame = frame;
    return info;
}

class Spotlight : public ::testing::Test {
protected:
    SimWorld world;
    WindowEngine engine{world.enginePorts()};
    AppearanceStore appearance{world.defaults, world.appearance, world.mainLoop};
    FocusSpotlight spotlight{
        {.panels = world.panels, .views = world.workspaceViews, .screens = world.screens, .mainLoop = world.mainLoop},
        engine,
        appearance};

    void SetUp() override {
        world.screens.setScreens({screen(1, kLeft), screen(2, kRight)});
        appearance.setSpotlightEnabled(true);
        engine.apply({{window(8, kNotes), window(9, {1400, 100, 600, 400})}});
    }

    const WindowInfo& live(WindowId id) const {
        for (const WindowInfo& w : engine.snapshot().windows) {
            if (w.id == id) return w;
        }
        throw std::logic_error("no such window");
    }
    // Every veil panel made so far, oldest first.
    std::vector<const SimPanelState*> veils() const {
        std::vector<const SimPanelState*> found;
        for (std::uint64_t serial = 1; const SimPanelState* panel = world.panels.panel(serial); ++serial) {
            if (panel->shown<VeilContent>()) found.push_back(panel);
        }
        return found;
    }
    std::size_t openVeils() const {
        const auto all = veils();
        return std::size_t(std::count_if(all.begin(), all.end(), [](const SimPanelState* p) { return !p->closed; }));
    }
};

TEST_F(Spotlight, AFlashFadesInHoldsFadesOutAndCloses) {
    appearance.setVeilIntensity(0.2);
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay - 0.01);
    EXPECT_TRUE(veils().empty());
    world.advance(0.01);
    ASSERT_EQ(veils().size(), 1u);
    const SimPanelState& veil = *veils()[0];
    EXPECT_TRUE(veil.visible);
    EXPECT_EQ(veil.alpha, 0);
    EXPECT_EQ(veil.style.level, PanelLevel::veil);
    EXPECT_TRUE(veil.style.ignoresMouse);
    EXPECT_EQ(veil.frame, kLeft);
    EXPECT_EQ(veil.shown<VeilContent>()->coveredFrame, kLeft);
    // On the primary, the window's own coordinates.
    EXPECT_EQ(veil.veilHole, (Rect{100, 50, 800, 600}));
    EXPECT_EQ(veil.veilIntensity, 0.2);
    EXPECT_EQ(veil.veilRedraws, 1);

    world.advance(FocusSpotlight::kFadeIn.duration);  // 0.42 s
    EXPECT_EQ(veil.alpha, 1);
    world.advance(FocusSpotlight::kHold - 0.01);  // 0.86 s
    EXPECT_EQ(veil.alpha, 1);
    world.advance(0.01 + FocusSpotlight::kFadeOut.duration);  // 1.17 s
    EXPECT_EQ(veil.alpha, 0);
    EXPECT_FALSE(veil.closed);
    world.advance(FocusSpotlight::kCloseMargin);  // 1.22 s
    EXPECT_TRUE(veil.closed);
    EXPECT_TRUE(veil.veilEffectsCleared);
    EXPECT_EQ(veil.veilRedraws, 1) << "fades change the alpha, never the veil";
}

TEST_F(Spotlight, AMinimisedWindowIsLitLaterAtItsRestoredFrame) {
    WindowInfo minimised = live(8);
    minimised.isMinimized = true;
    minimised.frame = {0, 0, 50, 50};
    spotlight.flash(minimised);
    world.advance(FocusSpotlight::kDelay);
    EXPECT_TRUE(veils().empty());
    world.advance(FocusSpotlight::kMinimizedDelay - FocusSpotlight::kDelay);
    ASSERT_EQ(veils().size(), 1u);
    EXPECT_EQ(veils()[0]->veilHole, (Rect{100, 50, 800, 600})) << "the live frame, not the one asked with";
    world.advance(1.47 - FocusSpotlight::kMinimizedDelay - 0.01);
    EXPECT_FALSE(veils()[0]->closed);
    world.advance(0.01);
    EXPECT_TRUE(veils()[0]->closed);
}

TEST_F(Spotlight, TheFrameAskedWithServesWhenTheLiveOneIsEmpty) {
    engine.apply({{window(8, {100, 50, 0, 600})}});
    WindowInfo asked = window(8, {200, 150, 300, 200});
    spotlight.flash(asked);
    world.advance(FocusSpotlight::kDelay);
    ASSERT_EQ(veils().size(), 1u);
    EXPECT_EQ(veils()[0]->veilHole, (Rect{200, 150, 300, 200}));

    // Neither usable: nothing shows, and the window may ask again at once.
    spotlight.cancel();
    engine.apply({{window(8, RectTL::null())}});
    spotlight.flash(window(8, {10, 10, 300, 0}));
    world.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(veils().size(), 1u);
    engine.apply({{window(8, kNotes)}});
    spotlight.flash(window(8, kNotes));
    world.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(veils().size(), 2u);
}

TEST_F(Spotlight, AWindowGoneBeforeItsFlashReleasesItsClaim) {
    spotlight.flash(live(8));
    engine.apply({{window(9, {1400, 100, 600, 400})}});
    world.advance(FocusSpotlight::kDelay);
    EXPECT_TRUE(veils().empty());
    engine.apply({{window(8, kNotes)}});
    spotlight.flash(window(8, kNotes));
    world.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(veils().size(), 1u);
}

TEST_F(Spotlight, TheSameWindowIsIgnoredUntilItsVeilCloses) {
    spotlight.flash(live(8));
    world.advance(0.1);
    spotlight.flash(live(8));  // pending
    world.advance(0.5);
    spotlight.flash(live(8));  // showing
    world.advance(0.5);
    spotlight.flash(live(8));  // dissolving
    EXPECT_EQ(veils().size(), 1u);
    world.advance(1.22 - 1.1 - 0.01);
    spotlight.flash(live(8));
    world.advance(0.01 + FocusSpotlight::kDelay);
    EXPECT_EQ(veils().size(), 1u) << "asked before the first veil closed";
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(veils().size(), 2u);
}

TEST_F(Spotlight, AnotherWindowReplacesTheFlashAtOnce) {
    // Pending: the first never shows.
    spotlight.flash(live(8));
    world.advance(0.1);
    spotlight.flash(live(9));
    world.advance(FocusSpotlight::kDelay);
    ASSERT_EQ(veils().size(), 1u);
    EXPECT_EQ(veils()[0]->frame, kRight);
    EXPECT_EQ(veils()[0]->veilHole, (Rect{120, 100, 600, 400}));

    // Dissolving: the fading veil closes at once, the new one shows after the delay.
    world.advance(FocusSpotlight::kFadeIn.duration + FocusSpotlight::kHold + 0.1);
    ASSERT_FALSE(veils()[0]->closed);
    spotlight.flash(live(8));
    EXPECT_TRUE(veils()[0]->closed);
    EXPECT_TRUE(veils()[0]->veilEffectsCleared);
    world.advance(FocusSpotlight::kDelay);
    ASSERT_EQ(veils().size(), 2u);
    EXPECT_EQ(veils()[1]->frame, kLeft);
}

TEST_F(Spotlight, SwitchedOffItAsksNothingAndLeavesARunningFlashAlone) {
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay);
    appearance.setSpotlightEnabled(false);
    spotlight.flash(live(9));
    EXPECT_TRUE(veils()[0]->visible);
    world.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(veils().size(), 1u);
    world.advance(1.0);
    EXPECT_TRUE(veils()[0]->closed) << "the running flash ends as it would have";

    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(veils().size(), 1u);
}

TEST_F(Spotlight, CancelEndsEveryStateAtOnce) {
    // Pending.
    spotlight.flash(live(8));
    spotlight.cancel();
    world.advance(FocusSpotlight::kDelay);
    EXPECT_TRUE(veils().empty());

    // Showing: closed without a fade, and the same window may flash again.
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay + 0.05);
    ASSERT_EQ(openVeils(), 1u);
    spotlight.cancel();
    EXPECT_EQ(openVeils(), 0u);
    EXPECT_TRUE(veils()[0]->veilEffectsCleared);

    // Dissolving.
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay + FocusSpotlight::kFadeIn.duration + FocusSpotlight::kHold + 0.1);
    ASSERT_EQ(veils().size(), 2u);
    ASSERT_EQ(openVeils(), 1u);
    spotlight.cancel();
    EXPECT_EQ(openVeils(), 0u);
    world.advance(2);
    EXPECT_EQ(veils().size(), 2u);
}

TEST_F(Spotlight, TheScreenWithMostOfTheWindowGetsTheVeilTheFirstOnATie) {
    // 100 points wide on the left, 300 on the right.
    engine.apply({{window(8, {1180, 100, 400, 300}), window(9, {1080, 100, 400, 300})}});
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay);
    ASSERT_EQ(veils().size(), 1u);
    EXPECT_EQ(veils()[0]->frame, kRight);
    // Crossing the panel's edge, the hole stays whole.
    EXPECT_EQ(veils()[0]->veilHole, (Rect{-100, 100, 400, 300}));

    spotlight.flash(live(9));  // equal halves
    world.advance(FocusSpotlight::kDelay);
    ASSERT_EQ(veils().size(), 2u);
    EXPECT_EQ(veils()[1]->frame, kLeft);
    EXPECT_EQ(openVeils(), 1u);
}

TEST_F(Spotlight, MirroredScreensEachGetAVeil) {
    world.screens.setScreens({screen(1, kLeft), screen(2, kRight), screen(3, kLeft)});
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay);
    ASSERT_EQ(veils().size(), 2u);
    for (const SimPanelState* veil : veils()) {
        EXPECT_EQ(veil->frame, kLeft);
        EXPECT_EQ(veil->veilHole, (Rect{100, 50, 800, 600}));
    }
    world.advance(1);
    EXPECT_EQ(openVeils(), 0u);
}

TEST_F(Spotlight, WithoutScreensNothingShowsAndTheFlashStillEnds) {
    world.screens.setScreens({});
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay);
    EXPECT_TRUE(veils().empty());
    // The window's claim lasts as long as a shown flash would.
    world.advance(0.5);
    spotlight.flash(live(8));
    world.screens.setScreens({screen(1, kLeft)});
    world.advance(FocusSpotlight::kDelay);
    EXPECT_TRUE(veils().empty());
    world.advance(0.5);
    spotlight.flash(live(8));
    world.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(veils().size(), 1u);
}

}  // namespace
}  // namespace quillbern
