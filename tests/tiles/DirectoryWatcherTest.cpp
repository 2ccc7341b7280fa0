#include <gtest/gtest.h>

#include "core/tiles/DirectoryWatcher.h"
#include "sim/SimFileSystem.h"
#include "sim/SimFolderEvents.h"

namespace quillbern {
namespace {

// A watcher with what it reported, in order.
class Watcher : public ::testing::Test {
protected:
    Watcher() { files.setUserDirectory(UserDirectory::trash, "/home/u/.local/share/Trash/files"); }

    bool watch(const Path& path) {
        return watcher.watch(
            path, [this] { reports.push_back("change"); },
            [this](const std::optional<Path>& moved) {
                reports.push_back("displaced:" + moved.value_or("none"));
                idleWhenDisplaced = !watcher.isWatching();
            });
    }

    SimFolderEvents events;
    SimFileSystem files;
    DirectoryWatcher watcher{events, files};
    std::vector<std::string> reports;
    bool idleWhenDisplaced = false;
};

TEST_F(Watcher, ReportsChangesOfItsItemsUntilStopped) {
    ASSERT_TRUE(watch("/home/u/Projects"));
    events.emit("/home/u/Projects", FolderChange::contentsChanged);
    events.emit("/home/u/Projects", FolderChange::contentsChanged);
    EXPECT_EQ(reports, (std::vector<std::string>{"change", "change"}));

    watcher.stop();
    watcher.stop();
    events.emit("/home/u/Projects", FolderChange::contentsChanged);
    EXPECT_EQ(reports.size(), 2u) << "nothing after stop";
    EXPECT_EQ(events.closeCount(), 1) << "let go once";
}

TEST_F(Watcher, FollowsAMoveAndIsIdleBeforeTelling) {
    ASSERT_TRUE(watch("/home/u/Projects"));
    events.emit("/home/u/Projects", FolderChange::renamed, "/home/u/Old/Projects/");
    EXPECT_EQ(reports, (std::vector<std::string>{"displaced:/home/u/Old/Projects"}));
    EXPECT_TRUE(idleWhenDisplaced);
    EXPECT_EQ(events.watchCount("/home/u/Projects"), 0);
    events.emit("/home/u/Projects", FolderChange::contentsChanged);
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(Watcher, DeletionWinsOverARenameAndAnUnreadableNewPathCountsAsGone) {
    ASSERT_TRUE(watch("/a"));
    events.emit("/a", FolderChange::renamed | FolderChange::deleted | FolderChange::contentsChanged, "/b");
    ASSERT_TRUE(watch("/c"));
    events.emit("/c", FolderChange::renamed);
    EXPECT_EQ(reports, (std::vector<std::string>{"displaced:none", "displaced:none"}));
}

// A folder dragged to the Trash is gone for whoever showed it, not moved there.
TEST_F(Watcher, AFolderMovedIntoTheTrashCountsAsGone) {
    ASSERT_TRUE(watch("/home/u/Projects"));
    events.emit("/home/u/Projects", FolderChange::renamed, "/home/u/.local/share/Trash/files/Projects");
    EXPECT_EQ(reports, (std::vector<std::string>{"displaced:none"}));
}

TEST_F(Watcher, AnOwnerMayWatchTheNewPathFromInsideTheReport) {
    ASSERT_TRUE(watcher.watch(
        "/a", [this] { reports.push_back("a changed"); },
        [this](const std::optional<Path>& moved) {
            ASSERT_TRUE(moved);
            watcher.watch(
                *moved, [this] { reports.push_back("b changed"); }, [](const std::optional<Path>&) {});
        }));
    events.emit("/a", FolderChange::renamed, "/b");
    events.emit("/b", FolderChange::contentsChanged);
    EXPECT_EQ(reports, (std::vector<std::string>{"b changed"}));
}

TEST_F(Watcher, ASecondWatchEndsTheFirst) {
    ASSERT_TRUE(watch("/a"));
    ASSERT_TRUE(watch("/b"));
    EXPECT_EQ(events.closeCount(), 1) << "the first is let go";
    events.emit("/a", FolderChange::contentsChanged);
    EXPECT_TRUE(reports.empty());
    events.emit("/b", FolderChange::contentsChanged);
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(Watcher, AFolderThatCannotBeOpenedLeavesItIdleAndEndsTheWatchBefore) {
    ASSERT_TRUE(watch("/a"));
    events.refuse("/missing");
    EXPECT_FALSE(watch("/missing"));
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_EQ(events.closeCount(), 1);
    events.emit("/a", FolderChange::contentsChanged);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Watcher, GoingAwayLetsTheFolderGoOnce) {
    {
        DirectoryWatcher scoped(events, files);
        ASSERT_TRUE(scoped.watch(
            "/a", [] {}, [](const std::optional<Path>&) {}));
    }
    EXPECT_EQ(events.openCount(), 1);
    EXPECT_EQ(events.closeCount(), 1);
    events.emit("/a", FolderChange::contentsChanged);
}

}  // namespace
}  // namespace quillbern
