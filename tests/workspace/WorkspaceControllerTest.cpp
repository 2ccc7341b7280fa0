#include <gtest/gtest.h>

#include "core/workspace/WorkspaceGrid.h"
#include "workspace/WorkspaceWorld.h"

namespace quillbern {
namespace {

using testing::kLeft;
using testing::kRight;
using testing::Moves;

constexpr Pid kMail = 10, kNotes = 20, kTerm = 30, kFiles = 40;
constexpr Duration kSettle = WorkspaceController::kSettleInterval;

WindowInfo listed(WindowId id, bool focused = false, bool main = false, bool minimized = false) {
    WindowInfo window;
    window.id = id;
    window.isMinimized = minimized;
    window.isFocused = focused;
    window.isAppMain = main;
    return window;
}

TEST(PickWindow, FocusedThenMainThenShownThenAny) {
    EXPECT_FALSE(pickWindow({}));
    EXPECT_EQ(pickWindow({listed(1), listed(2, false, true), listed(3, true)})->id, 3u);
    EXPECT_EQ(pickWindow({listed(1, false, false, true), listed(2, false, true, true), listed(3, false, true)})->id, 3u)
        << "a minimised main window is passed over";
    EXPECT_EQ(pickWindow({listed(1, false, false, true), listed(2)})->id, 2u);
    EXPECT_EQ(pickWindow({listed(1, false, false, true), listed(2, false, false, true)})->id, 1u);
}

class Workspace : public ::testing::Test {
protected:
    testing::WorkspaceWorld w;
    WorkspaceController& ws = *w.workspace;

    // Mail (windows 11 and 12), Notes (21) and Term (31) run; none is in the workspace yet.
    void runThree() {
        w.run(kMail, "mail");
        w.run(kNotes, "notes");
        w.run(kTerm, "term");
        w.show(kMail, 11);
        w.show(kMail, 12);
        w.show(kNotes, 21);
        w.show(kTerm, 31);
        w.focus(kMail, 11);
        w.settle();
    }
    // The three joined in that order, tiled on the left display.
    void tileThree() {
        runThree();
        for (const char* id : {"mail", "notes", "term"})
            ws.drop(id, kLeft, {500, 400});
        w.settle();
        w.moves();
        w.placeRequests.clear();
    }
    void hideAll(Duration lag) {
        w.world.apps.setHideLag(lag);
        ws.toggle();
        w.world.advance(lag);
        ASSERT_TRUE(ws.isHidden());
        w.settle();
        w.moves();
    }
};

TEST_F(Workspace, DropsTileTheApplicationsInJoinOrderTheDroppedOneLastAndFocused) {
    runThree();
    ws.drop("mail", kLeft, {500, 400});
    EXPECT_EQ(w.memberIDs(), std::vector<std::string>{"mail"});
    EXPECT_EQ(ws.displayID(), kLeft);
    EXPECT_EQ(ws.members()[0].windowID, 11u) << "its focused window";
    w.settle();
    EXPECT_EQ(w.moves(), (Moves{"11 at (10, 10) 980x755", "11 raised"}));

    ws.drop("notes", kRight, {1500, 300});
    w.settle();
    EXPECT_EQ(w.moves(), (Moves{"11 at (10, 10) 485x755", "21 at (505, 10) 485x755", "21 raised"}))
        << "dropped on the other display, it joins the workspace's";

    ws.drop("term", kLeft, {500, 400});
    w.settle();
    EXPECT_EQ(w.moves(), (Moves{"11 at (10, 10) 485x372.5", "21 at (505, 10) 485x372.5", "31 at (10, 392.5) 980x372.5",
                                "31 raised"}));
    ASSERT_EQ(w.placeRequests.size(), 3u) << "one for each raised window only";
    EXPECT_EQ(w.placeRequests[2], (std::pair<WindowId, RectTL>{31, {10, 392.5, 980, 372.5}}));

    // Tiled already: a snapshot that brings nothing new moves nothing.
    ws.snapshotChanged(w.engine->snapshot());
    w.settle();
    EXPECT_TRUE(w.moves().empty());
}

TEST_F(Workspace, AWorkspaceOnTheLowerDisplayConvertsByThePrimarysHeight) {
    runThree();
    ws.drop("notes", kRight, {1500, 300});
    w.settle();
    EXPECT_EQ(ws.displayID(), kRight);
    EXPECT_EQ(w.moves(), (Moves{"21 at (1010, 210) 980x555", "21 raised"}));
}

TEST_F(Workspace, AMemberDroppedAgainIsRaisedOrSwapsWithTheCellItLandsOn) {
    tileThree();
    // Outside every cell, and onto its own: no reorder, the others first, itself last.
    ws.drop("mail", kLeft, {5, 5});
    w.settle();
    EXPECT_EQ(w.moves(), (Moves{"21 at (505, 10) 485x372.5", "31 at (10, 392.5) 980x372.5", "11 at (10, 10) 485x372.5",
                                "11 raised"}));
    ws.drop("mail", kLeft, {100, 600});
    EXPECT_EQ(w.memberIDs(), (std::vector<std::string>{"mail", "notes", "term"}));

    int changes = 0;
    const Subscription watch = ws.membersChanged.connect([&changes] { ++changes; });
    ws.drop("mail", kLeft, {500, 100});
    EXPECT_EQ(w.memberIDs(), (std::vector<std::string>{"term", "notes", "mail"}));
    EXPECT_EQ(changes, 1);
    w.settle();
    const Moves moves = w.moves();
    EXPECT_EQ(Moves(moves.end() - 2, moves.end()), (Moves{"11 at (10, 392.5) 980x372.5", "11 raised"}));
    EXPECT_NE(std::ranges::find(moves, "31 at (10, 10) 485x372.5"), moves.end());
}

TEST_F(Workspace, AClosedWindowGivesWayToAnotherOfItsApplication) {
    tileThree();
    // As an application does when its window goes.
    for (const Attribute attribute : {Attribute::focusedWindow, Attribute::mainWindow})
        w.world.windows.set(w.world.windows.appElement(kMail), attribute, std::monostate{});
    w.close(11);
    w.settle();
    EXPECT_EQ(ws.members()[0].windowID, 12u);
    w.close(12);
    w.settle();
    EXPECT_FALSE(ws.members()[0].windowID);
    EXPECT_EQ(ws.cellMemberIndex({100, 600}), 1u) << "without a window it takes no cell: notes is first";
}

TEST_F(Workspace, AMemberThatNeverStartsIsDroppedAfterTwentySeconds) {
    w.run(kMail, "mail");
    w.show(kMail, 11);
    w.settle();
    ws.drop("mail", kLeft, {500, 400});
    const MediaTime joined = w.world.clock.mediaNow();
    ws.drop("notes", kLeft, {500, 400});
    EXPECT_EQ(w.world.launcher.launchedPaths(), std::vector<Path>{"/apps/notes.app"}) << "a pinned one is started";
    ASSERT_EQ(ws.members().size(), 2u);
    EXPECT_FALSE(ws.members()[1].hasArrived);
    w.settle();
    w.moves();

    w.world.advance(joined + WorkspaceController::kLaunchGrace - w.world.clock.mediaNow());
    ws.snapshotChanged(w.engine->snapshot());
    EXPECT_EQ(ws.members().size(), 2u) << "exactly twenty seconds";
    w.world.advance(0.001);
    ws.snapshotChanged(w.engine->snapshot());
    EXPECT_EQ(w.memberIDs(), std::vector<std::string>{"mail"});
    w.settle();
    EXPECT_EQ(w.moves(), Moves{"11 at (10, 10) 980x755"}) << "the rest close the gap, nobody raised";

    // The last one's application quits: the workspace empties and forgets its display.
    w.world.advance(WorkspaceController::kLaunchGrace);
    w.quit(kMail);
    w.settle();
    EXPECT_TRUE(ws.members().empty());
    EXPECT_FALSE(ws.displayID());
}

TEST_F(Workspace, OnlyTheFirstArrivalIsTiledAndAHiddenRestStaysHidden) {
    w.run(kMail, "mail");
    w.show(kMail, 11);
    w.settle();
    ws.drop("mail", kLeft, {500, 400});
    ws.drop("notes", kLeft, {500, 400});
    ws.drop("files", kLeft, {500, 400});
    EXPECT_EQ(w.world.launcher.launchedPaths().size(), 1u) << "no dock holds files: nothing to start";
    w.settle();
    w.moves();
    w.run(kNotes, "notes");
    w.run(kFiles, "files");
    w.show(kNotes, 21);
    w.show(kFiles, 41);
    w.settle();
    const Moves moves = w.moves();
    EXPECT_EQ(moves.back(), "21 raised");
    EXPECT_EQ(std::ranges::count_if(moves, [](const std::string& m) { return m.ends_with("raised"); }), 1);
    EXPECT_EQ(moves.size(), 4u) << "three placed, one raised";
}

TEST_F(Workspace, AnArrivalWhileTheOthersAreHiddenIsLeftAlone) {
    w.run(kMail, "mail");
    w.show(kMail, 11);
    w.settle();
    ws.drop("mail", kLeft, {500, 400});
    ws.drop("notes", kLeft, {500, 400});
    w.world.apps.setHidden(kMail, true);
    w.settle();
    w.moves();
    w.run(kNotes, "notes");
    w.show(kNotes, 21);
    w.settle();
    EXPECT_EQ(ws.members()[1].windowID, 21u);
    EXPECT_TRUE(w.moves().empty());
}

TEST_F(Workspace, ToggleDoesNothingWhenEmptyOrWithoutWindowAccess) {
    ws.toggle();
    EXPECT_TRUE(w.world.apps.hides().empty());
    tileThree();
    w.world.permissions.setWindowAccessTrusted(false);
    w.world.advance(WindowEngine::kTrustPollInterval);
    ASSERT_FALSE(w.engine->isTrusted());
    ws.toggle();
    EXPECT_TRUE(w.world.apps.hides().empty());
    EXPECT_TRUE(w.world.apps.unhides().empty());
}

TEST_F(Workspace, ToggleHidesEveryMemberThenShowsThemOnceTheyAreBack) {
    tileThree();
    w.world.apps.setHideLag(0.5);
    ws.toggle();
    EXPECT_EQ(w.world.apps.hides(), (std::vector<Pid>{kMail, kNotes, kTerm}));
    EXPECT_FALSE(ws.isHidden()) << "hiding takes its time";
    w.world.advance(0.5);
    EXPECT_TRUE(ws.isHidden());
    EXPECT_EQ(ws.members().size(), 3u) << "members stay";

    ws.toggle();
    EXPECT_EQ(w.world.apps.unhides(), (std::vector<Pid>{kMail, kNotes, kTerm}));
    w.world.advance(0.1);
    ws.toggle();
    EXPECT_EQ(w.world.apps.unhides().size(), 3u) << "a press while it settles is ignored";
    EXPECT_EQ(w.world.apps.hides().size(), 3u);

    // Still hidden at the first check (0.35 s); back at the second (0.70 s).
    w.world.advance(2 * kSettle - 0.1 - 0.001);
    EXPECT_TRUE(w.placeRequests.empty());
    w.world.advance(0.001);
    ASSERT_EQ(w.placeRequests.size(), 1u);
    EXPECT_EQ(w.placeRequests[0].first, 11u) << "the first member comes forward";
    w.settle();
    EXPECT_EQ(w.moves().size(), 4u);
}

TEST_F(Workspace, AShowTilesAtTheThirdCheckWhateverTheState) {
    tileThree();
    hideAll(0.5);
    // Mail stays hidden, so every check but the last waits.
    w.world.apps.setIgnoresHiding(kMail, true);
    ws.toggle();
    w.world.advance(3 * kSettle - 0.001);
    EXPECT_TRUE(w.moves().empty());
    w.world.advance(0.001);
    w.settle();
    EXPECT_EQ(w.moves(), (Moves{"21 at (10, 10) 485x755", "31 at (505, 10) 485x755"}))
        << "the first member, hidden, takes no cell and nobody is raised";
    EXPECT_TRUE(w.placeRequests.empty());
}

TEST_F(Workspace, ToggleReturnsAFullScreenMemberToItsCellInsteadOfHiding) {
    tileThree();
    w.setFullScreen(21, true);
    w.settle();
    ws.toggle();
    EXPECT_TRUE(w.world.apps.hides().empty());
    w.settle();
    const Moves moves = w.moves();
    EXPECT_EQ(Moves(moves.end() - 2, moves.end()), (Moves{"21 at (505, 10) 485x372.5", "21 raised"}));
    EXPECT_EQ(w.placeRequests.back().first, 21u);
}

TEST_F(Workspace, AWorkspaceWhoseOnlyMemberIsInFullScreenIsNotVisible) {
    runThree();
    ws.drop("notes", kLeft, {500, 400});
    w.settle();
    w.setFullScreen(21, true);
    w.settle();
    w.moves();
    ws.toggle();
    EXPECT_TRUE(w.world.apps.hides().empty());
    EXPECT_EQ(w.world.apps.unhides(), std::vector<Pid>{kNotes}) << "the show path";
    w.world.advance(3 * kSettle);
    w.settle();
    EXPECT_TRUE(w.moves().empty()) << "still nothing visible: nothing tiled";
}

TEST_F(Workspace, RemovalClosesTheGapExceptInAHiddenWorkspace) {
    tileThree();
    ws.remove("notes");
    ws.remove("music");
    EXPECT_EQ(w.memberIDs(), (std::vector<std::string>{"mail", "term"}));
    w.settle();
    EXPECT_EQ(w.moves(), (Moves{"11 at (10, 10) 485x755", "31 at (505, 10) 485x755"}));
    EXPECT_TRUE(w.placeRequests.empty());

    hideAll(0);
    ws.remove("term");
    w.settle();
    EXPECT_TRUE(w.moves().empty());

    // The last one goes while a show settles: the show is called off.
    w.world.apps.setHideLag(0.5);
    ws.toggle();
    ws.remove("mail");
    EXPECT_FALSE(ws.displayID());
    w.world.advance(3 * kSettle);
    w.settle();
    EXPECT_TRUE(w.moves().empty());
    EXPECT_TRUE(w.placeRequests.empty());
}

TEST_F(Workspace, ADropIntoAHiddenWorkspaceShowsItAllWithTheNewcomerInFront) {
    runThree();
    ws.drop("mail", kLeft, {500, 400});
    ws.drop("notes", kLeft, {500, 400});
    w.settle();
    hideAll(0.5);
    ws.drop("term", kLeft, {500, 400});
    EXPECT_EQ(w.world.apps.unhides(), (std::vector<Pid>{kMail, kNotes, kTerm}));
    w.world.advance(2 * kSettle);
    w.settle();
    const Moves moves = w.moves();
    EXPECT_EQ(moves.size(), 4u);
    EXPECT_EQ(moves.back(), "31 raised");
}

TEST_F(Workspace, AHiddenMemberDroppedComesBackThenMoves) {
    tileThree();
    w.world.apps.setHideLag(0.5);
    w.world.apps.hide(kMail);
    w.world.advance(0.5);
    w.settle();
    w.moves();
    ws.drop("mail", kLeft, {500, 100});  // where term's cell will be
    EXPECT_EQ(w.world.apps.unhides(), std::vector<Pid>{kMail});
    EXPECT_EQ(w.memberIDs(), (std::vector<std::string>{"mail", "notes", "term"})) << "not before it is back";
    w.world.advance(2 * kSettle);
    EXPECT_EQ(w.memberIDs(), (std::vector<std::string>{"term", "notes", "mail"}));
    w.settle();
    EXPECT_EQ(w.moves().back(), "11 raised");
}

TEST_F(Workspace, AFullWorkspaceBeepsAndBringsTheApplicationForwardInstead) {
    w.preferences->setWorkspaceMaxApps(2);
    runThree();
    ws.drop("mail", kLeft, {500, 400});
    ws.drop("term", kLeft, {500, 400});
    w.settle();
    w.moves();
    ws.drop("notes", kLeft, {500, 400});
    EXPECT_EQ(w.world.alerts.beepCount(), 1);
    EXPECT_EQ(w.raiseRequests, std::vector<WindowId>{21});
    EXPECT_EQ(w.memberIDs(), (std::vector<std::string>{"mail", "term"}));
    w.settle();
    EXPECT_EQ(w.moves(), Moves{"21 raised"});

    // One that does not run is started instead.
    w.quit(kNotes);
    w.settle();
    ws.drop("notes", kLeft, {500, 400});
    EXPECT_EQ(w.world.alerts.beepCount(), 2);
    EXPECT_EQ(w.world.launcher.launchedPaths(), std::vector<Path>{"/apps/notes.app"});
    EXPECT_EQ(ws.members().size(), 2u);
}

TEST_F(Workspace, APreviewForEachKindOfDrag) {
    const RectBL visible = testing::kLeftVisible;
    EXPECT_EQ(ws.dragPreview("mail", kRight, testing::kRightVisible, true, {1500, 300}),
              (WorkspacePreview{{{1010, 35, 980, 555}}, 0, std::nullopt}))
        << "an empty workspace previews under the pointer";
    EXPECT_FALSE(ws.dragPreview("mail", kLeft, visible, false, {1500, 300}));

    tileThree();
    EXPECT_FALSE(ws.dragPreview("files", kRight, testing::kRightVisible, true, {1500, 300}))
        << "only the workspace's display shows one";
    const auto added = ws.dragPreview("files", kLeft, visible, false, {1500, 300});
    ASSERT_TRUE(added);
    EXPECT_EQ(added->frames, WorkspaceGrid::frames(4, visible));
    EXPECT_EQ(added->highlighted, 3u) << "where the newcomer goes";
    EXPECT_FALSE(added->notice);

    const auto over = ws.dragPreview("mail", kLeft, visible, true, {500, 100});
    EXPECT_EQ(over->frames, WorkspaceGrid::frames(3, visible));
    EXPECT_EQ(over->highlighted, 2u) << "the cell under the pointer";
    EXPECT_EQ(ws.dragPreview("notes", kLeft, visible, true, {5, 5})->highlighted, 1u) << "else its own";

    // Hidden by the user, a member still counts while it is dragged.
    w.world.apps.setHidden(kNotes, true);
    const auto hiddenOne = ws.dragPreview("notes", kLeft, visible, true, {5, 5});
    EXPECT_EQ(hiddenOne->frames.size(), 3u);
    EXPECT_EQ(hiddenOne->highlighted, 1u);
    EXPECT_EQ(ws.dragPreview("files", kLeft, visible, true, {5, 5})->frames.size(), 3u) << "two placed, one more";

    // A hidden workspace previews the layout it will show.
    w.world.apps.setHidden(kMail, true);
    w.world.apps.setHidden(kTerm, true);
    EXPECT_EQ(ws.dragPreview("files", kLeft, visible, true, {5, 5})->frames.size(), 4u);

    w.preferences->setWorkspaceMaxApps(3);
    const auto full = ws.dragPreview("files", kLeft, visible, true, {500, 100});
    EXPECT_EQ(full->frames.size(), 3u);
    EXPECT_FALSE(full->highlighted);
    EXPECT_EQ(full->notice, "Workspace is full (3 apps) — raise the limit in Settings › General.");
    w.preferences->setWorkspaceMaxApps(2);
    EXPECT_EQ(ws.dragPreview("files", kLeft, visible, true, {5, 5})->notice,
              "Workspace is full (3 apps) — raise the limit in Settings › General.")
        << "the members, when more than the limit";
}

TEST_F(Workspace, AVisibleFrameTooSmallForTheMarginsMovesNoWindow) {
    ScreenInfo tiny;
    tiny.id = kLeft;
    tiny.stableId = "1";
    tiny.frame = {0, 0, 1000, 800};
    tiny.visibleFrame = {0, 0, 1000, 15};
    w.world.screens.setScreens({tiny});
    runThree();
    ws.drop("mail", kLeft, {500, 5});
    w.settle();
    EXPECT_EQ(w.memberIDs(), std::vector<std::string>{"mail"});
    EXPECT_TRUE(w.moves().empty());
    EXPECT_TRUE(w.placeRequests.empty());
}

}  // namespace
}  // namespace quillbern
