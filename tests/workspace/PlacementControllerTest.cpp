#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/workspace/PlacementController.h"
#include "core/workspace/WorkspaceGrid.h"
#include "workspace/WorkspaceWorld.h"

namespace quillbern {
namespace {

using testing::kLeft;
using testing::kLeftFrame;
using testing::kLeftVisible;
using testing::kRight;
using testing::kRightFrame;
using testing::kRightVisible;

constexpr Duration kTick = PlacementController::kPollInterval;
constexpr Duration kGrace = PlacementController::kReleaseGrace;
constexpr KeyCode kEscape = 53;
const std::string kMailTile = "app:mail";

ScreenInfo screen(std::optional<DisplayId> id, RectBL frame, RectBL visible) {
    ScreenInfo info;
    info.id = id;
    info.stableId = "stable";
    info.frame = frame;
    info.visibleFrame = visible;
    return info;
}

// What a holder looked like at each of its change notices: the cell count and the highlight.
using Notices = std::vector<std::pair<std::size_t, std::optional<std::size_t>>>;

class Placement : public ::testing::Test {
protected:
    Placement() {
        placement = std::make_unique<PlacementController>(PlacementController::Ports{.panels = w.world.panels,
                                                                                     .views = w.world.workspaceViews,
                                                                                     .screens = w.world.screens,
                                                                                     .input = w.world.input,
                                                                                     .events = w.world.events,
                                                                                     .system = w.world.appearance,
                                                                                     .mainLoop = w.world.mainLoop,
                                                                                     .clock = w.world.clock},
                                                          *w.engine, *w.pinned, *w.workspace);
        w.pinned->onDragSessionChange = [this] { placement->dragSessionChanged(); };
        dock = w.pinned->profiles().front().id;
    }
    ~Placement() override { w.pinned->onDragSessionChange = nullptr; }

    // The user picks a tile up with the pointer at `at`.
    void drag(const std::string& itemID, PointBL at) {
        w.world.input.setPointer(at);
        w.world.input.setPressedButtons(kLeftButton);
        w.pinned->setDragSession(DragSession{itemID, dock});
    }
    // Lets go at `at`; the poll sees it at its next tick.
    void release(PointBL at) {
        w.world.input.setPointer(at);
        w.world.input.setPressedButtons(0);
        w.world.advance(kTick);
    }
    bool dragging() const { return w.pinned->dragSession().has_value(); }

    // The open overlay panels, oldest first.
    std::vector<const SimPanelState*> overlays() const {
        std::vector<const SimPanelState*> found;
        for (std::uint64_t serial = 1; const SimPanelState* state = w.world.panels.panel(serial); ++serial) {
            if (!state->closed && state->style.level == PanelLevel::placement) found.push_back(state);
        }
        return found;
    }
    std::vector<std::uint64_t> overlaySerials() const {
        std::vector<std::uint64_t> serials;
        for (const SimPanelState* state : overlays())
            serials.push_back(state->serial);
        return serials;
    }
    const WorkspacePreviewHolder& holder(std::size_t overlay) const {
        return *overlays().at(overlay)->shown<PlacementContent>()->holder;
    }
    // Records the holder's state at each change notice from now on.
    Subscription record(std::size_t overlay, Notices& notices) {
        const WorkspacePreviewHolder& h = holder(overlay);
        return const_cast<WorkspacePreviewHolder&>(h).changed.connect(
            [&h, &notices] { notices.emplace_back(h.cellFrames().size(), h.highlighted()); });
    }
    // One of our docks, shown.
    std::unique_ptr<Panel> showDockPanel(RectBL frame) {
        PanelStyle style;
        style.isDockPanel = true;
        std::unique_ptr<Panel> panel = w.world.panels.createPanel(style, frame, PlainFill{});
        panel->orderFront();
        return panel;
    }
    std::vector<std::string> members() const { return w.memberIDs(); }

    testing::WorkspaceWorld w;
    std::unique_ptr<PlacementController> placement;
    Uuid dock;
};

// The panel-local cell of a lone application on the display.
Rect loneCell(const RectBL& visible, const RectBL& screenFrame) {
    const RectBL r = WorkspaceGrid::frames(1, visible).front();
    return {r.minX() - screenFrame.minX(), screenFrame.maxY() - r.maxY(), r.width, r.height};
}

TEST_F(Placement, AnApplicationDragFadesAnOverlayInOnEveryScreenAndTheEndFadesItOut) {
    drag(kMailTile, {500, 400});
    ASSERT_EQ(overlays().size(), 2u);
    for (const SimPanelState* overlay : overlays()) {
        EXPECT_TRUE(overlay->style.ignoresMouse);
        EXPECT_TRUE(overlay->visible);
        EXPECT_EQ(overlay->alpha, 0);
    }
    EXPECT_EQ(overlays()[0]->frame, kLeftFrame);
    EXPECT_EQ(overlays()[1]->frame, kRightFrame);
    w.world.advance(PlacementController::kFadeIn.duration);
    EXPECT_EQ(overlays()[0]->alpha, 1);
    EXPECT_EQ(overlays()[1]->alpha, 1);

    w.pinned->setDragSession(std::nullopt);
    EXPECT_FALSE(placement->isActive());
    w.world.advance(PlacementController::kFadeOut.duration);
    EXPECT_EQ(overlays()[0]->alpha, 0);
    EXPECT_TRUE(overlays()[0]->visible) << "ordered out a little after the fade";
    w.world.advance(PlacementController::kOrderOutDelay - PlacementController::kFadeOut.duration);
    EXPECT_FALSE(overlays()[0]->visible);
    EXPECT_FALSE(overlays()[1]->visible);
}

TEST_F(Placement, ADragJustAfterAHideKeepsThePanelsInAndFadesThemInAfresh) {
    drag(kMailTile, {500, 400});
    const std::vector<std::uint64_t> serials = overlaySerials();
    w.world.advance(1);
    w.pinned->setDragSession(std::nullopt);
    w.world.advance(0.1);
    drag("app:notes", {500, 400});
    EXPECT_EQ(overlaySerials(), serials) << "the same panels serve every drag";
    EXPECT_EQ(overlays()[0]->alpha, 0);
    w.world.advance(PlacementController::kOrderOutDelay);
    EXPECT_TRUE(overlays()[0]->visible);
    EXPECT_TRUE(overlays()[1]->visible);
    EXPECT_EQ(overlays()[0]->alpha, 1);
}

TEST_F(Placement, TheOverlaysAreMadeAgainOnlyWhenTheScreensCountOrGeometryChanged) {
    drag(kMailTile, {500, 400});
    const std::vector<std::uint64_t> first = overlaySerials();
    w.pinned->setDragSession(std::nullopt);

    // Another display in the same place keeps its overlay.
    w.world.screens.setScreens(
        {screen(kLeft, kLeftFrame, kLeftVisible), screen(DisplayId{7}, kRightFrame, kRightVisible)});
    drag(kMailTile, {500, 400});
    EXPECT_EQ(overlaySerials(), first);
    w.pinned->setDragSession(std::nullopt);

    w.world.screens.setScreens(
        {screen(kLeft, kLeftFrame, kLeftVisible), screen(kRight, kRightFrame, {1000, 40, 1000, 560})});
    drag(kMailTile, {500, 400});
    const std::vector<std::uint64_t> second = overlaySerials();
    ASSERT_EQ(second.size(), 2u);
    EXPECT_NE(second, first);
    EXPECT_TRUE(w.world.panels.panel(first[0])->closed);
    w.pinned->setDragSession(std::nullopt);

    w.world.screens.setScreens({screen(kLeft, kLeftFrame, kLeftVisible)});
    drag(kMailTile, {500, 400});
    ASSERT_EQ(overlays().size(), 1u);
    EXPECT_EQ(overlays()[0]->frame, kLeftFrame);
}

TEST_F(Placement, CellsAreDrawnFromTheScreensTopLeftAndChangeOnlyWhenThePreviewDoes) {
    drag(kMailTile, {500, 400});
    Notices left, right;
    const Subscription leftNotices = record(0, left);
    const Subscription rightNotices = record(1, right);
    w.world.advance(kTick);
    EXPECT_EQ(holder(0).cellFrames(), std::vector<Rect>{loneCell(kLeftVisible, kLeftFrame)});
    EXPECT_EQ(holder(0).highlighted(), 0u);
    EXPECT_TRUE(holder(1).cellFrames().empty()) << "the first application previews under the pointer only";
    // The cells come before their highlight, so no highlight points past them.
    EXPECT_EQ(left, (Notices{{1, std::nullopt}, {1, 0}}));

    w.world.advance(10 * kTick);
    EXPECT_EQ(left.size(), 2u) << "a still pointer redraws nothing";
    EXPECT_TRUE(right.empty());

    w.world.input.setPointer({1500, 300});
    w.world.advance(kTick);
    EXPECT_EQ(left, (Notices{{1, std::nullopt}, {1, 0}, {0, 0}, {0, std::nullopt}}));
    EXPECT_EQ(right, (Notices{{1, std::nullopt}, {1, 0}}));
    // The lower right-hand screen: its cell measured from its own top.
    EXPECT_EQ(holder(1).cellFrames(), std::vector<Rect>{loneCell(kRightVisible, kRightFrame)});
}

TEST_F(Placement, AScreenWithoutAnIdIsNeverDrawnOnAndTakesNoDrop) {
    w.world.screens.setScreens({screen(kLeft, kLeftFrame, kLeftVisible), screen({}, kRightFrame, kRightVisible)});
    drag(kMailTile, {1500, 300});
    ASSERT_EQ(overlays().size(), 2u) << "made all the same";
    Notices right;
    const Subscription notices = record(1, right);
    w.world.advance(5 * kTick);
    EXPECT_TRUE(right.empty());
    release({1500, 300});
    EXPECT_FALSE(dragging());
    EXPECT_TRUE(members().empty());
}

TEST_F(Placement, EscapeByKeyOrByTheTapEndsTheDragAtTheNextTickWithoutADrop) {
    // Held as the drag starts: the first tick ends it.
    w.world.input.setKeyDown(kEscape, true);
    drag(kMailTile, {500, 400});
    w.world.advance(kTick - 0.01);
    EXPECT_TRUE(dragging());
    w.world.advance(0.01);
    EXPECT_FALSE(dragging());
    EXPECT_FALSE(placement->isActive());
    w.world.input.setKeyDown(kEscape, false);

    // A press shorter than a tick, seen by the tap only; other keys do nothing.
    drag(kMailTile, {500, 400});
    w.world.events.injectKeyTap({KeyTapEvent::Kind::keyDown, 12});
    w.world.advance(kTick);
    EXPECT_TRUE(dragging());
    w.world.events.injectKeyTap({KeyTapEvent::Kind::keyDown, kEscape});
    w.world.input.setPressedButtons(0);
    w.world.advance(kTick);
    EXPECT_FALSE(dragging());
    EXPECT_TRUE(members().empty()) << "the release in the same tick drops nothing";
    EXPECT_EQ(w.world.events.liveTapCount(), 0u);

    // Escape through the tap just as a drag ends is not held against the next one.
    drag(kMailTile, {500, 400});
    w.world.events.injectKeyTap({KeyTapEvent::Kind::keyDown, kEscape});
    w.pinned->setDragSession(std::nullopt);
    w.world.advance(0);
    drag(kMailTile, {500, 400});
    w.world.advance(kTick);
    EXPECT_TRUE(dragging());
}

TEST_F(Placement, ATapStoppedForSlownessIsTurnedBackOnButOneTheUserStoppedStaysOff) {
    drag(kMailTile, {500, 400});
    w.world.events.injectKeyTap({KeyTapEvent::Kind::disabledByTimeout, 0});
    w.world.advance(0);
    EXPECT_TRUE(w.world.events.tapEnabled());

    w.world.events.injectKeyTap({KeyTapEvent::Kind::disabledByUser, 0});
    w.world.advance(kTick);
    EXPECT_FALSE(w.world.events.tapEnabled());
    w.world.events.injectKeyTap({KeyTapEvent::Kind::keyDown, kEscape});
    w.world.advance(kTick);
    EXPECT_TRUE(dragging()) << "a stopped tap hears nothing; the key state still would";

    // The next drag has a tap of its own.
    w.pinned->setDragSession(std::nullopt);
    drag(kMailTile, {500, 400});
    EXPECT_TRUE(w.world.events.tapEnabled());
}

TEST_F(Placement, AReleaseNearADockIsTheDocksAndFartherOutDropsIntoTheWorkspace) {
    const std::unique_ptr<Panel> bottomDock = showDockPanel({300, 0, 400, 60});
    // 10 points above the dock: no drop, and no grace either.
    drag(kMailTile, {500, 300});
    release({500, 70});
    EXPECT_FALSE(dragging());
    EXPECT_TRUE(members().empty());

    // 30 points above it: the workspace takes it on the display under the pointer.
    drag(kMailTile, {500, 300});
    release({500, 90});
    EXPECT_FALSE(dragging());
    EXPECT_EQ(members(), std::vector<std::string>{"mail"});
    EXPECT_EQ(w.workspace->displayID(), kLeft);

    // A hidden dock is no dock.
    bottomDock->orderOut();
    drag("app:notes", {1500, 300});
    release({500, 50});
    EXPECT_EQ(members(), (std::vector<std::string>{"mail", "notes"}));
}

TEST_F(Placement, AReleaseOnADockWaitsForItsOwnDropAndThenEndsTheDrag) {
    const std::unique_ptr<Panel> bottomDock = showDockPanel({300, 0, 400, 60});
    drag(kMailTile, {500, 300});
    release({500, 30});
    w.world.advance(kGrace - kTick);
    EXPECT_TRUE(dragging());
    EXPECT_TRUE(placement->isActive());
    w.world.advance(kTick);
    EXPECT_FALSE(dragging());
    EXPECT_TRUE(members().empty());

    // The dock takes the drop itself, and the user picks another tile up at once: the
    // waiting end belongs to the first drag only.
    drag(kMailTile, {500, 300});
    release({500, 30});
    w.pinned->setDragSession(std::nullopt);
    drag("app:notes", {500, 300});
    w.world.advance(kGrace);
    EXPECT_TRUE(dragging());
    EXPECT_TRUE(placement->isActive());
}

TEST_F(Placement, OurTitledWindowsGetTheGraceAndTakeNoDropOurUntitledOnesDoNot) {
    OwnWindow settings{
        .isVisible = true, .frame = {1200, 100, 600, 400}, .isTitled = true, .level = {}, .hasFocus = false};
    w.world.panels.setOtherOwnWindows({settings});
    drag(kMailTile, {500, 300});
    release({1500, 300});
    EXPECT_TRUE(dragging());
    w.world.advance(kGrace);
    EXPECT_FALSE(dragging());
    EXPECT_TRUE(members().empty());

    // Under a window of ours without a title bar, say a veil, lies the desktop.
    settings.isTitled = false;
    w.world.panels.setOtherOwnWindows({settings});
    drag(kMailTile, {500, 300});
    release({1500, 300});
    EXPECT_FALSE(dragging());
    EXPECT_EQ(members(), std::vector<std::string>{"mail"});
    EXPECT_EQ(w.workspace->displayID(), kRight);
}

TEST_F(Placement, OnTheSeamOfStackedScreensThePreviewTakesTheUpperAndTheDropTheLower) {
    constexpr RectBL kLower{0, 0, 1000, 600}, kUpper{0, 600, 1000, 800};
    w.world.screens.setScreens({screen(kLeft, kLower, kLower), screen(kRight, kUpper, kUpper)});
    drag(kMailTile, {500, 600});
    w.world.advance(kTick);
    EXPECT_TRUE(holder(0).cellFrames().empty());
    EXPECT_EQ(holder(1).cellFrames().size(), 1u);
    release({500, 600});
    EXPECT_EQ(members(), std::vector<std::string>{"mail"});
    EXPECT_EQ(w.workspace->displayID(), kLeft);
}

TEST_F(Placement, DragsWithoutAnOverlayAreWatchedUntilTheirRelease) {
    const std::unique_ptr<Panel> bottomDock = showDockPanel({300, 0, 400, 60});
    const std::string folderTile = "location:AAAAAAAA-0000-4000-8000-000000000009";
    drag(folderTile, {500, 300});
    EXPECT_TRUE(overlays().empty());
    w.world.advance(1);
    EXPECT_TRUE(dragging());
    release({500, 300});
    EXPECT_FALSE(dragging());

    // From an application tile to a folder tile: the overlay goes, the watch begins.
    drag(kMailTile, {500, 300});
    w.pinned->setDragSession(DragSession{folderTile, dock});
    EXPECT_FALSE(placement->isActive());
    w.world.input.setKeyDown(kEscape, true);
    w.world.advance(kTick);
    EXPECT_FALSE(dragging());
    w.world.input.setKeyDown(kEscape, false);

    // Without window access, application tiles are only watched: over a dock the drag
    // ends after the grace unless it was assigned meanwhile.
    w.world.permissions.setWindowAccessTrusted(false);
    w.world.advance(WindowEngine::kTrustPollInterval);
    ASSERT_FALSE(w.engine->isTrusted());
    drag(kMailTile, {500, 300});
    release({500, 30});
    EXPECT_TRUE(dragging());
    w.world.advance(kGrace);
    EXPECT_FALSE(dragging());
    EXPECT_TRUE(members().empty());

    drag(kMailTile, {500, 300});
    release({500, 30});
    drag(kMailTile, {500, 300});
    w.world.advance(kGrace);
    EXPECT_TRUE(dragging());
    release({500, 300});
    EXPECT_FALSE(dragging());
    EXPECT_TRUE(members().empty());
}

TEST_F(Placement, ADragHeldTwentySecondsEnds) {
    drag(kMailTile, {500, 300});
    w.world.advance(PlacementController::kSafetyLimit - kTick);
    EXPECT_TRUE(dragging());
    w.world.advance(kTick);
    EXPECT_FALSE(dragging());
    EXPECT_FALSE(placement->isActive());
    release({500, 300});
    EXPECT_TRUE(members().empty());
}

TEST_F(Placement, AChangeOfTheScreensEndsTheDragAndTheNextDragFitsTheNewScreens) {
    const std::size_t observers = w.world.screens.observerCount();
    drag(kMailTile, {500, 300});
    EXPECT_EQ(w.world.screens.observerCount(), observers + 1);
    w.world.screens.setScreens({screen(kLeft, kLeftFrame, kLeftVisible)});
    w.world.screens.fireChanged();
    w.world.advance(0);
    EXPECT_FALSE(dragging());
    EXPECT_FALSE(placement->isActive());
    EXPECT_EQ(w.world.screens.observerCount(), observers);
    drag(kMailTile, {500, 300});
    EXPECT_EQ(overlays().size(), 1u);
}

TEST_F(Placement, ClearingTheDragInsideThePollsOwnTickStopsThatPoll) {
    drag(kMailTile, {500, 300});
    w.world.advance(kTick);
    w.world.input.setKeyDown(kEscape, true);
    w.world.advance(kTick);
    ASSERT_FALSE(dragging());
    ASSERT_TRUE(holder(0).cellFrames().empty());
    w.world.input.setKeyDown(kEscape, false);
    w.world.advance(1);
    EXPECT_TRUE(holder(0).cellFrames().empty()) << "no tick after the one that ended the drag";

    // Released in a tick: the drop runs inside it, and the next drag polls afresh.
    release({500, 300});
    drag(kMailTile, {500, 300});
    release({500, 300});
    EXPECT_EQ(members(), std::vector<std::string>{"mail"});
    drag("app:notes", {500, 300});
    w.world.advance(kTick);
    EXPECT_FALSE(holder(0).cellFrames().empty());
}

}  // namespace
}  // namespace quillbern
