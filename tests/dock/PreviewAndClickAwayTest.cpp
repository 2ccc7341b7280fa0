#include <gtest/gtest.h>

#include "core/dock/PreviewPlacement.h"
#include "dock/AutoHideFixture.h"

namespace quillbern {
namespace {

using testing::AutoHide;
using testing::kLeft;
using testing::kRight;
using testing::onDisplay;

WindowInfo window(WindowId id) {
    WindowInfo info;
    info.id = id;
    info.pid = 40;
    info.appName = "Editor";
    info.title = "Notes";
    info.isOnScreen = true;
    return info;
}

class Previews : public AutoHide {
protected:
    void openTwoDocks() {
        open({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(2, DockEdge::bottom, onDisplay("16-2-22"))});
        w.previews->setEnabled(true);
    }
    // The dock's view tells of a hovered tile, as its tiles do.
    void hover(DisplayId display, int dock, std::optional<WindowInfo> hovered) {
        const auto& content = *w.panel(display, dock)->shown<DockContent>();
        content.onHoverTile(hovered);
    }
    const SimPanelState* previewPanel() const {
        for (std::uint64_t serial = 1; const SimPanelState* panel = w.world.panels.panel(serial); ++serial) {
            if (panel->shown<PreviewContent>()) return panel;
        }
        return nullptr;
    }
};

TEST_F(Previews, AHoveredTileShowsItsWindowInAClickThroughPanelBesideTheDock) {
    openTwoDocks();
    pointAt({900, 40});
    hover(kLeft, 1, window(7));
    const SimPanelState* panel = previewPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->visible);
    EXPECT_TRUE(panel->style.ignoresMouse);
    EXPECT_EQ(panel->frame, preview::frame(DockEdge::bottom, {900, 40}, resting(kLeft, 1), RectBL{0, 0, 1920, 1050}));
    EXPECT_EQ(w.previews->hoveredWindow(), window(7));
    const auto& content = *panel->shown<PreviewContent>();
    EXPECT_EQ(content.store, w.previews.get());
}

TEST_F(Previews, WithPreviewsOffAHoverNeverMakesThePanel) {
    openTwoDocks();
    w.previews->setEnabled(false);
    hover(kLeft, 1, window(7));
    EXPECT_EQ(previewPanel(), nullptr);
}

TEST_F(Previews, TheNextTileSoonAfterKeepsThePanelAndLeavingHidesItAMomentLater) {
    openTwoDocks();
    pointAt({900, 40});
    hover(kLeft, 1, window(7));
    hover(kLeft, 1, std::nullopt);
    w.world.advance(0.1);
    pointAt({950, 40});
    hover(kLeft, 1, window(8));
    w.world.advance(0.1);
    const SimPanelState* panel = previewPanel();
    EXPECT_TRUE(panel->visible);
    EXPECT_EQ(panel->frame.x, 950 - 170);
    hover(kLeft, 1, std::nullopt);
    w.world.advance(0.14);
    EXPECT_TRUE(panel->visible);
    w.world.advance(0.02);
    EXPECT_FALSE(panel->visible);
    EXPECT_FALSE(panel->closed) << "kept for the next preview";
}

TEST_F(Previews, ADockThatHidesTakesItsPreviewAlongAtOnce) {
    openTwoDocks();
    pointAt({900, 300});
    hover(kLeft, 1, window(7));
    ticks(5);
    const SimPanelState* panel = previewPanel();
    EXPECT_TRUE(panel->visible);
    ticks(1);  // past the leave delay: the dock starts to hide
    EXPECT_FALSE(panel->visible);
    EXPECT_EQ(w.previews->hoveredWindow(), std::nullopt);
}

TEST_F(Previews, ConcealingAnotherDockLeavesThePreviewAlone) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(2, DockEdge::bottom, onDisplay("16-2-22"))});
    w.previews->setEnabled(true);
    const RectBL left = resting(kLeft, 1);
    pointAt({left.midX(), left.midY()});  // holds the left dock out
    hover(kLeft, 1, window(7));
    settle();
    EXPECT_FALSE(shown(kRight, 2));
    EXPECT_TRUE(previewPanel()->visible);
}

TEST_F(Previews, AChangeOfTheDockLayoutHidesThePreviewAtOnce) {
    openTwoDocks();
    hover(kLeft, 1, window(7));
    w.pinned().setVisible(simDock(2, DockEdge::bottom).id, false);
    EXPECT_FALSE(previewPanel()->visible);
    EXPECT_EQ(w.previews->hoveredWindow(), std::nullopt);
}

class ClickAway : public AutoHide {
protected:
    // A bottom and a left dock on the left display, both still out after opening.
    void openTwoEdges() {
        open({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(2, DockEdge::left, onDisplay("16-1-11"))});
    }
    void click(PointBL at) {
        w.world.input.press();
        w.world.events.injectGlobalMouseDown({at, kLeftButton, 0, std::nullopt});
        w.world.advance(0.05);
    }
    bool concealing(int dock) { return w.panel(kLeft, dock)->alpha < 1; }
};

TEST_F(ClickAway, AClickOnTheDesktopSlidesEveryRevealedDockAway) {
    openTwoEdges();
    click({960, 540});
    EXPECT_TRUE(concealing(1));
    EXPECT_TRUE(concealing(2));
}

TEST_F(ClickAway, AClickNearAnyRevealedDockKeepsThemAll) {
    openTwoEdges();
    const RectBL bottom = resting(kLeft, 1);
    click({bottom.maxX() + 11, bottom.midY()});
    EXPECT_FALSE(concealing(1));
    EXPECT_FALSE(concealing(2));
}

TEST_F(ClickAway, AClickInTheRevealStripOfADocksEdgeKeepsThatEdge) {
    openTwoEdges();
    const RectBL bottom = resting(kLeft, 1);
    click({bottom.maxX() + 11, 1});
    EXPECT_FALSE(concealing(1));
    EXPECT_TRUE(concealing(2));
}

TEST_F(ClickAway, AnOpenPopoverSparesItsWholeEdge) {
    open({simDock(1, DockEdge::bottom, onDisplay("16-1-11")), simDock(3, DockEdge::bottom, onDisplay("16-1-11")),
          simDock(2, DockEdge::left, onDisplay("16-1-11"))});
    w.controller().setInteractionLock(true, PanelKey{kLeft, simDock(1, DockEdge::bottom).id});
    click({960, 540});
    EXPECT_FALSE(concealing(1));
    EXPECT_FALSE(concealing(3));
    EXPECT_TRUE(concealing(2));
}

TEST_F(ClickAway, NothingSlidesAwayWithAutoHideOffWhilePeekingOrDuringATileDrag) {
    openTwoEdges();
    w.preferences->setAutoHide(false);
    click({960, 540});
    EXPECT_FALSE(concealing(1));
    w.preferences->setAutoHide(true);

    w.controller().setPeeking(true, std::nullopt);
    click({960, 540});
    EXPECT_FALSE(concealing(1));
    w.controller().setPeeking(false, std::nullopt);

    w.pinned().setDragSession(DragSession{"app:app1.0", simDock(1, DockEdge::bottom).id});
    click({960, 540});
    EXPECT_FALSE(concealing(1));
    w.pinned().setDragSession(std::nullopt);
    click({960, 540});
    EXPECT_TRUE(concealing(1));
}

}  // namespace
}  // namespace quillbern
