#include <gtest/gtest.h>

#include "core/palettes/PalettePresenter.h"
#include "dock/DockTestWorld.h"

namespace quillbern {
namespace {

constexpr Size kContent{400, 300};

ScreenInfo onlyVisible(RectBL visibleFrame) {
    return simDisplay(9, "9", visibleFrame, visibleFrame);
}

TEST(PaletteFrames, TheSheetAndTheOverviewStandCentredAndTheSearchesHangFromThe22PercentLine) {
    const RectBL visible{0, 0, 1920, 1050};
    EXPECT_EQ(paletteFrame(kContent, visible, PalettePlacement::centred), (RectBL{760, 375, 400, 300}));
    // Top edge at 1050 - 0.22 * 1050 = 819.
    EXPECT_EQ(paletteFrame(kContent, visible, PalettePlacement::searchLine), (RectBL{760, 519, 400, 300}));
    // On a display right of the primary whose visible frame starts above its bottom.
    const RectBL right{1920, 40, 1280, 984};
    EXPECT_EQ(paletteFrame(kContent, right, PalettePlacement::centred), (RectBL{2360, 382, 400, 300}));
}

TEST(PaletteFrames, HalvesRoundAwayFromZeroAlsoLeftOfAndBelowThePrimary) {
    // Centre x -639.5, less 200: -839.5 goes to -840. Centre y 524.5, less 150: 374.5 to 375.
    EXPECT_EQ(paletteFrame(kContent, {-1279, 0, 1279, 1049}, PalettePlacement::centred), (RectBL{-840, 375, 400, 300}));
    // Below the primary: centre y -500.5, less 150: -650.5 goes to -651.
    EXPECT_EQ(paletteFrame(kContent, {0, -1001, 1280, 1001}, PalettePlacement::centred).y, -651);
    // The search line is rounded, not the origin below it: 0 - 220.22 gives -220.
    EXPECT_EQ(paletteFrame(kContent, {0, -1001, 1280, 1001}, PalettePlacement::searchLine).maxY(), -220);
    // Fractional sizes keep their fractions; only the origin is rounded.
    EXPECT_EQ(paletteFrame({401, 300.5}, {0, 0, 1920, 1050}, PalettePlacement::centred),
              (RectBL{760, 375, 401, 300.5}));
}

TEST(PaletteFrames, TallContentIsCutToTheVisibleHeightLess80) {
    const ScreenInfo display = onlyVisible({0, 0, 1920, 1050});
    EXPECT_EQ(paletteSize({400, 2000}, display), (Size{400, 970}));
    EXPECT_EQ(paletteSize({400, 970}, display), (Size{400, 970}));
    EXPECT_EQ(paletteSize({3000, 300}, display), (Size{3000, 300})) << "the width is the content's own";
    // Centred at the limit, it leaves 40 above and below.
    EXPECT_EQ(paletteFrame(paletteSize({400, 2000}, display), display.visibleFrame, PalettePlacement::centred),
              (RectBL{760, 40, 400, 970}));
}

TEST(PaletteFrames, ASearchPaletteThatWouldReachBelowTheVisibleFrameStandsOnItsBottomEdge) {
    const ScreenInfo display = onlyVisible({0, 30, 1920, 1020});
    // Top at 1050 - 224.4 = 825.6, rounded 826: a 700-high palette ends at 126, inside.
    EXPECT_EQ(paletteFrame({400, 700}, display.visibleFrame, PalettePlacement::searchLine),
              (RectBL{760, 126, 400, 700}));
    // Exactly down to the bottom edge still keeps the line.
    EXPECT_EQ(paletteFrame({400, 796}, display.visibleFrame, PalettePlacement::searchLine).y, 30);
    // One more point would cross it: the palette is raised onto the edge instead, and at
    // the height limit its top stands 80 below the visible top, every row in reach.
    EXPECT_EQ(paletteFrame({400, 797}, display.visibleFrame, PalettePlacement::searchLine),
              (RectBL{760, 30, 400, 797}));
    const Size limit = paletteSize({400, 5000}, display);
    EXPECT_EQ(paletteFrame(limit, display.visibleFrame, PalettePlacement::searchLine), (RectBL{760, 30, 400, 940}));
    // The centred palettes never needed it.
    EXPECT_EQ(paletteFrame(limit, display.visibleFrame, PalettePlacement::centred).y, 70);
}

TEST(PaletteFrames, ARelayoutKeepsTheTopEdgeAndTheHorizontalCentre) {
    const RectBL visible{0, 0, 1920, 1050};
    const RectBL shown{760, 519, 400, 300};
    EXPECT_EQ(relaidPaletteFrame({500, 150}, shown, visible, PalettePlacement::searchLine),
              (RectBL{710, 669, 500, 150}));
    // The top stays exactly where it was, unrounded; the left edge is rounded.
    EXPECT_EQ(relaidPaletteFrame({401, 150.5}, shown, visible, PalettePlacement::centred),
              (RectBL{760, 668.5, 401, 150.5}));
    // Growing downwards, a search palette still stops at the bottom edge.
    EXPECT_EQ(relaidPaletteFrame({400, 900}, shown, visible, PalettePlacement::searchLine), (RectBL{760, 0, 400, 900}));
    EXPECT_EQ(relaidPaletteFrame({400, 900}, shown, visible, PalettePlacement::centred).y, -81);
}

// A palette with nothing of its own: the rules alone, on the search line.
class BarePalette {
public:
    explicit BarePalette(PalettePorts ports) : presenter_(ports, PalettePlacement::searchLine, [this] { dismiss(); }) {}

    void show(Size fitting) {
        dismiss();
        const std::optional<ScreenInfo> screen = presenter_.screenForShowing();
        if (!screen) return;
        view = std::make_shared<SimPaletteView>(fitting);
        presenter_.present(*screen, view, {});
    }
    void dismiss() {
        ++dismissals;
        presenter_.dismiss([this] { ++teardowns; });
    }
    PalettePresenter& presenter() { return presenter_; }

    std::shared_ptr<SimPaletteView> view;
    int dismissals = 0;
    int teardowns = 0;

private:
    PalettePresenter presenter_;
};

class PalettePresenterTest : public ::testing::Test {
protected:
    PalettePresenterTest() { world.screens.setScreens(testing::twoScreens()); }

    const SimPanelState* panel() {
        const Panel* open = palette.presenter().panel();
        return open ? world.panels.panel(open->serial()) : nullptr;
    }

    SimWorld world;
    BarePalette palette{world.palettePorts()};
};

TEST_F(PalettePresenterTest, ARelayoutComesOneTurnLaterAndKeepsTopEdgeAndCentre) {
    world.input.setPointer({300, 300});
    palette.show(kContent);
    ASSERT_NE(panel(), nullptr);
    EXPECT_EQ(panel()->frame, (RectBL{760, 519, 400, 300}));

    palette.view->setFittingSize({600, 100});
    palette.presenter().contentShapeChanged();
    EXPECT_EQ(panel()->frame, (RectBL{760, 519, 400, 300})) << "not within the turn that changed the content";
    world.runUntilIdle();
    EXPECT_EQ(panel()->frame, (RectBL{660, 719, 600, 100}));

    // Taller than the display allows: cut to the limit and held on the bottom edge.
    palette.view->setFittingSize({600, 4000});
    palette.presenter().contentShapeChanged();
    world.runUntilIdle();
    EXPECT_EQ(panel()->frame, (RectBL{660, 0, 600, 970}));
}

TEST_F(PalettePresenterTest, ARelayoutDueAfterTheDismissalOrAfterThePaletteWentDoesNothing) {
    palette.show(kContent);
    palette.view->setFittingSize({600, 100});
    palette.presenter().contentShapeChanged();
    palette.dismiss();
    world.runUntilIdle();
    EXPECT_FALSE(palette.presenter().isShown());

    auto shortLived = std::make_unique<BarePalette>(world.palettePorts());
    shortLived->show(kContent);
    shortLived->presenter().contentShapeChanged();
    shortLived.reset();
    world.runUntilIdle();
    EXPECT_EQ(world.panels.openCount(), 0u);
}

TEST_F(PalettePresenterTest, EachShowStartsFromNothingOnTheDisplayUnderThePointer) {
    world.input.setPointer({300, 300});
    palette.show(kContent);
    const std::uint64_t first = palette.presenter().panel()->serial();
    world.input.setPointer({2000, 500});
    palette.show({200, 200});
    ASSERT_TRUE(palette.presenter().isShown());
    EXPECT_TRUE(world.panels.panel(first)->closed);
    EXPECT_NE(palette.presenter().panel()->serial(), first);
    EXPECT_EQ(world.panels.openCount(), 1u);
    // Right display: visible 1920..3200 x 0..1024; line at 1024 - 225.28, rounded 799.
    EXPECT_EQ(panel()->frame, (RectBL{2460, 599, 200, 200}));
    EXPECT_EQ(panel()->style.level, PanelLevel::palette);
    EXPECT_TRUE(panel()->style.takesKeyFocus);
    EXPECT_EQ(world.panels.keyPanel(), palette.presenter().panel()->serial());
    EXPECT_EQ(world.events.calls(), (std::vector<std::string>{"add global", "add local", "remove global",
                                                              "remove local", "add global", "add local"}));
    // The teardown ran between the monitors and the panel on each dismissal.
    EXPECT_EQ(palette.teardowns, 2);
}

TEST_F(PalettePresenterTest, DismissingTwiceClosesOnce) {
    palette.show(kContent);
    palette.dismiss();
    palette.dismiss();
    EXPECT_EQ(world.events.calls().size(), 4u);
    EXPECT_EQ(world.panels.openCount(), 0u);
    EXPECT_FALSE(world.panels.keyPanel());
}

}  // namespace
}  // namespace quillbern
