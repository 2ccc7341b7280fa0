#include <gtest/gtest.h>

#include "core/tiles/DockDrops.h"
#include "core/tiles/TrashDrop.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::app;
using testing::dock;
using testing::dockId;

const Uuid kTrashID = Uuid::parse("BBBBBBBB-0000-4000-8000-000000000001").value();
const Uuid kLocationID = Uuid::parse("BBBBBBBB-0000-4000-8000-000000000002").value();
const PinnedItem kTrash = PinnedTrash{kTrashID};
const PinnedItem kProjects = PinnedLocation{kLocationID, "Projects", "/home/u/Projects"};

// Two docks: the first holds three applications, a folder and the Trash.
class Drops : public ::testing::Test {
protected:
    Drops() {
        w.install("mail", "Mail", Qt::red);
        w.install("web", "Web", Qt::green);
        w.install("notes", "Notes", Qt::blue);
        w.install("draw", "Draw", Qt::yellow);
        w.world.files.addDirectory("/home/u/Projects");
        w.world.files.addDirectory("/home/u/Photos");
        w.world.files.addDirectory("/home/u/Big.APP");
        w.world.files.addFile("/home/u/a.txt");
        w.world.files.addFile("/home/u/b.txt");
        w.world.files.addDirectory("/home/u/.local/share/Trash/files");
        w.world.files.setUserDirectory(UserDirectory::trash, "/home/u/.local/share/Trash/files");
        w.open({dock(1, DockEdge::bottom,
                     {app("mail", "Mail"), app("web", "Web"), app("notes", "Notes"), kProjects, kTrash}),
                dock(2, DockEdge::left, {app("mail", "Mail"), app("web", "Web")})});
        first = std::make_unique<DockDrops>(ports(), dockId(1), highlight);
        second = std::make_unique<DockDrops>(ports(), dockId(2), otherHighlight);
    }

    DockDrops::Ports ports() {
        return {.pinned = *w.pinned,
                .files = w.world.files,
                .catalog = w.world.catalog,
                .launcher = w.world.launcher,
                .alerts = w.world.alerts,
                .mainLoop = w.world.mainLoop};
    }
    std::vector<std::string> ids(int n) const {
        std::vector<std::string> result;
        const std::optional<Profile> profile = w.pinned->profile(dockId(n));
        for (const PinnedItem& item : profile->items)
            result.push_back(item.id());
        return result;
    }
    PinnedItem item(int n, std::size_t index) const { return w.pinned->profile(dockId(n))->items.at(index); }

    testing::TilesWorld w;
    DropHighlight highlight;
    DropHighlight otherHighlight;
    std::unique_ptr<DockDrops> first;
    std::unique_ptr<DockDrops> second;
};

TEST_F(Drops, ATileDraggedAcrossItsDockReordersItLiveAndTheDropEndsTheDrag) {
    first->dragStarted(item(1, 0));
    first->tileEntered(item(1, 0), DragPayload::pinnedItem);
    EXPECT_EQ(ids(1)[0], "app:mail") << "entering the dragged tile itself changes nothing";

    first->tileEntered(item(1, 1), DragPayload::pinnedItem);
    EXPECT_EQ(ids(1)[0], "app:web");
    EXPECT_EQ(ids(1)[1], "app:mail");
    first->tileEntered(item(1, 2), DragPayload::pinnedItem);
    const std::vector<std::string> order = ids(1);
    EXPECT_EQ((std::vector<std::string>(order.begin(), order.begin() + 3)),
              (std::vector<std::string>{"app:web", "app:notes", "app:mail"}));
    EXPECT_EQ(first->tileProposal(item(1, 0), DragPayload::pinnedItem), DropOperation::move);

    EXPECT_TRUE(first->tileDropped(item(1, 2), DragPayload::pinnedItem, {}));
    EXPECT_FALSE(w.pinned->dragSession());
    EXPECT_EQ(ids(1)[2], "app:mail") << "the drop changes nothing more";
    EXPECT_FALSE(w.pinned->undoableRemoval()) << "no undo for a reorder";
}

TEST_F(Drops, ATileOfOneDockIsForbiddenOverAnotherAndReordersNothingThere) {
    first->dragStarted(item(1, 0));
    EXPECT_EQ(second->tileProposal(item(2, 1), DragPayload::pinnedItem), DropOperation::forbidden);
    second->tileEntered(item(2, 1), DragPayload::pinnedItem);
    EXPECT_EQ(ids(2), (std::vector<std::string>{"app:mail", "app:web"}));

    w.pinned->setDragSession(std::nullopt);
    EXPECT_EQ(first->tileProposal(item(1, 1), DragPayload::pinnedItem), DropOperation::forbidden) << "no drag going on";
}

TEST_F(Drops, FilesAreMovedOntoTheTrashAndCopiedOntoAnyOtherTile) {
    EXPECT_EQ(first->tileProposal(kTrash, DragPayload::files), DropOperation::move);
    EXPECT_EQ(first->tileProposal(item(1, 0), DragPayload::files), DropOperation::copy);
    EXPECT_EQ(first->tileProposal(kProjects, DragPayload::files), DropOperation::copy);
}

TEST_F(Drops, ApplicationsAndFoldersDroppedOnAnApplicationArePinnedApplicationsFirstAndNothingOpens) {
    first->dragStarted(item(1, 1));
    EXPECT_TRUE(first->tileDropped(item(1, 0), DragPayload::files, {"/home/u/Photos", "/apps/draw.app"}));
    EXPECT_FALSE(w.pinned->dragSession()) << "a file drop ends a drag left over";
    EXPECT_EQ(ids(1).size(), 5u) << "handled on a later turn";
    w.world.runUntilIdle();
    EXPECT_EQ(ids(1).at(5), "app:draw");
    EXPECT_EQ(w.pinned->profile(dockId(1))->items.at(6).location()->path, "/home/u/Photos");
    EXPECT_TRUE(w.world.launcher.opened().empty());
    EXPECT_TRUE(w.world.launcher.launchedPaths().empty()) << "an application is pinned, never opened";
}

TEST_F(Drops, FilesDroppedOnAnApplicationOpenWithItInOneRequestAndNowhereElse) {
    first->tileDropped(item(1, 1), DragPayload::files, {"/home/u/a.txt", "/home/u/b.txt", "/home/u/gone.txt"});
    w.world.runUntilIdle();
    ASSERT_EQ(w.world.launcher.opened().size(), 1u);
    EXPECT_EQ(w.world.launcher.opened()[0].files,
              (std::vector<Path>{"/home/u/a.txt", "/home/u/b.txt", "/home/u/gone.txt"}));
    EXPECT_EQ(w.world.launcher.opened()[0].appPath, "/apps/web.app");

    first->tileDropped(kProjects, DragPayload::files, {"/home/u/a.txt", "/home/u/Photos"});
    EXPECT_TRUE(first->barDropped({"/home/u/b.txt"})) << "taken, though nothing comes of it";
    w.world.runUntilIdle();
    EXPECT_EQ(w.world.launcher.opened().size(), 1u) << "a folder's tile and the bar open no files";
    EXPECT_EQ(w.pinned->profile(dockId(1))->items.back().location()->path, "/home/u/Photos");
    EXPECT_EQ(ids(1).size(), 6u);
}

TEST_F(Drops, TheBarPinsInTheDropsOrderAndOnlyTheSmallAppExtensionMakesAnApplication) {
    EXPECT_TRUE(first->barDropped({"/home/u/Big.APP", "/apps/draw.app", "/home/u/Projects/", "/home/u/a.txt"}));
    w.world.runUntilIdle();
    const std::vector<PinnedItem> items = w.pinned->profile(dockId(1))->items;
    ASSERT_EQ(items.size(), 7u) << "the pinned folder again adds nothing, nor does the plain file";
    EXPECT_EQ(items[5].location()->path, "/home/u/Big.APP");
    EXPECT_EQ(items[6].id(), "app:draw");

    second->barDropped({"/home/u/Projects"});
    w.world.runUntilIdle();
    EXPECT_EQ(w.pinned->profile(dockId(2))->items.back().location()->path, "/home/u/Projects")
        << "another dock pins the same folder";
    EXPECT_FALSE(first->barDropped({})) << "a drop without files is refused";
}

TEST_F(Drops, ADropWithoutFilesOnATileIsRefusedAndStillEndsTheDrag) {
    first->dragStarted(item(1, 0));
    EXPECT_FALSE(first->tileDropped(item(1, 1), DragPayload::files, {}));
    EXPECT_FALSE(w.pinned->dragSession());
}

TEST_F(Drops, AFileDragOverTilesHighlightsTheDockUntilItLeavesAndTheBarStartsTheCountAfresh) {
    first->tileEntered(item(1, 0), DragPayload::files);
    first->tileExited(DragPayload::files);
    first->tileEntered(item(1, 1), DragPayload::files);
    EXPECT_TRUE(highlight.isHighlighted());
    first->tileExited(DragPayload::files);
    first->tileExited(DragPayload::files);
    EXPECT_EQ(highlight.tileDragHovers(), 0);
    EXPECT_FALSE(highlight.isHighlighted());

    first->tileEntered(item(1, 0), DragPayload::files);
    highlight.setBarTargeted(true);
    EXPECT_EQ(highlight.tileDragHovers(), 0);
    first->tileEntered(item(1, 0), DragPayload::pinnedItem);
    EXPECT_EQ(highlight.tileDragHovers(), 0) << "a tile dragged in the dock highlights nothing";
}

TEST_F(Drops, FilesDroppedOnTheTrashGoThereAndAPartialFailureIsToldOnceNamingTheFirst) {
    w.world.files.addFile("/home/u/c.txt");
    w.world.files.failTrashing("/home/u/a.txt", "The volume is read-only.");
    w.world.files.failTrashing("/home/u/c.txt", "Permission denied.");
    first->tileDropped(kTrash, DragPayload::files, {"/home/u/a.txt", "/home/u/b.txt", "/home/u/c.txt"});
    EXPECT_TRUE(w.world.alerts.shown().empty()) << "never inside the drop";
    w.world.runUntilIdle();

    EXPECT_FALSE(w.world.files.exists("/home/u/b.txt"));
    EXPECT_TRUE(w.world.files.exists("/home/u/.local/share/Trash/files/b.txt"));
    EXPECT_TRUE(w.world.files.exists("/home/u/a.txt")) << "a failed item stays";
    EXPECT_TRUE(w.world.log.contains("could not trash /home/u/a.txt — The volume is read-only."));
    EXPECT_TRUE(w.world.log.contains("could not trash /home/u/c.txt — Permission denied."));
    const std::vector<const char*> order = w.world.alerts.order();
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.end()), (std::vector<std::string>{"beep", "alert"}));
    const AlertSpec& alert = w.world.alerts.shown().at(0);
    EXPECT_EQ(alert.message, "Couldn't move 2 items to the Trash");
    EXPECT_EQ(
        alert.informative,
        "The first was “a.txt”: The volume is read-only.\n\nThese ones have not moved; the rest went to the Trash.");
    EXPECT_EQ(alert.buttons, (std::vector<std::string>{"Show in File Manager", "OK"}));
    EXPECT_TRUE(alert.floating);
    ASSERT_EQ(w.world.launcher.revealed().size(), 1u) << "the first button shows every failed item";
    EXPECT_EQ(w.world.launcher.revealed()[0], (std::vector<Path>{"/home/u/a.txt", "/home/u/c.txt"}));
    EXPECT_EQ(ids(1).size(), 5u) << "nothing is pinned";
}

TEST_F(Drops, OKRevealsNothingAndADropThatAllWentToTheTrashSaysNothing) {
    w.world.files.failTrashing("/home/u/a.txt", "The volume is read-only.");
    w.world.alerts.answerWith(1);
    first->tileDropped(kTrash, DragPayload::files, {"/home/u/a.txt"});
    first->tileDropped(kTrash, DragPayload::files, {"/home/u/b.txt"});
    w.world.runUntilIdle();
    EXPECT_EQ(w.world.alerts.shown().size(), 1u);
    EXPECT_EQ(w.world.alerts.beepCount(), 1);
    EXPECT_TRUE(w.world.launcher.revealed().empty());
    EXPECT_EQ(w.world.log.count("could not trash"), 1);
}

TEST_F(Drops, AnItemAlreadyInTheTrashStaysThereWithItsRecord) {
    w.world.files.addFile("/home/u/.local/share/Trash/files/old.txt");
    first->tileDropped(kTrash, DragPayload::files, {"/home/u/.local/share/Trash/files/old.txt"});
    w.world.runUntilIdle();
    EXPECT_TRUE(w.world.files.exists("/home/u/.local/share/Trash/files/old.txt"));
    ASSERT_EQ(w.world.alerts.shown().size(), 1u);
    EXPECT_EQ(w.world.alerts.shown()[0].message, "Couldn't move “old.txt” to the Trash");
    EXPECT_EQ(w.world.alerts.shown()[0].informative,
              "It is already in the Trash.\n\nThe file has not moved — it is still where you dragged it from.");
}

TEST(TrashFailureAlert, NamesTheFirstFailureAndSaysWhetherTheOthersMoved) {
    const TrashFailure denied{"/mnt/ro/report.pdf", "Permission denied."};
    const TrashFailure other{"/mnt/ro/notes.txt", "Read-only file system."};
    EXPECT_FALSE(trashFailureAlert({}, 3));

    const auto alone = trashFailureAlert({denied}, 1);
    ASSERT_TRUE(alone);
    EXPECT_EQ(alone->message, "Couldn't move “report.pdf” to the Trash");
    EXPECT_EQ(alone->informative,
              "Permission denied.\n\nThe file has not moved — it is still where you dragged it from.");
    EXPECT_EQ(alone->style, AlertSpec::Style::warning);

    EXPECT_EQ(trashFailureAlert({denied}, 4)->informative,
              "Permission denied.\n\nThis one has not moved; the others went to the Trash.");
    const auto both = trashFailureAlert({denied, other}, 2);
    EXPECT_EQ(both->message, "Couldn't move 2 items to the Trash");
    EXPECT_EQ(both->informative,
              "The first was “report.pdf”: Permission denied.\n\nNothing has moved — the items are still where you "
              "dragged them from.");
}

}  // namespace
}  // namespace quillbern
