#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

#include "core/tiles/DirectoryWatcher.h"
#include "linux/freedesktop/LinuxFileSystem.h"
#include "linux/freedesktop/LinuxFolderEvents.h"
#include "support/ScopedEnvironment.h"

namespace quillbern {
namespace {

namespace fs = std::filesystem;

// Real folders of the test's own, watched through inotify on the Qt event loop.
class LinuxFolders : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / ("quillbern-folders-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(root);
        fs::create_directories(root / "watched");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    std::unique_ptr<FolderWatch> watch(const fs::path& folder) {
        return events.watch(folder.string(), [this](std::uint32_t changes) { reported |= changes; });
    }

    // Runs the event loop until the condition holds, for 5 s at most.
    static bool eventually(const std::function<bool()>& condition) {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }
    bool reports(std::uint32_t changes) {
        return eventually([&] { return (reported & changes) == changes; });
    }

    fs::path root;
    LinuxFolderEvents events;
    std::uint32_t reported = 0;
};

TEST_F(LinuxFolders, ItemsAddedRenamedAndRemovedInsideAreChangesOfTheFolder) {
    const auto watched = watch(root / "watched");
    ASSERT_TRUE(watched);
    std::ofstream(root / "watched" / "a.txt") << "x";
    EXPECT_TRUE(reports(FolderChange::contentsChanged)) << "added";

    reported = 0;
    fs::rename(root / "watched" / "a.txt", root / "watched" / "b.txt");
    EXPECT_TRUE(reports(FolderChange::contentsChanged)) << "renamed inside";

    reported = 0;
    fs::remove(root / "watched" / "b.txt");
    EXPECT_TRUE(reports(FolderChange::contentsChanged)) << "removed";
    EXPECT_EQ(reported & (FolderChange::renamed | FolderChange::deleted), 0u);
    EXPECT_EQ(watched->currentPath(), (root / "watched").string());
}

// The descriptor we hold keeps the kernel from reporting the deletion itself.
// An empty folder goes without any change of its items to tell of it.
TEST_F(LinuxFolders, AFolderDeletedWhileWatchedIsReportedGone) {
    const auto watched = watch(root / "watched");
    ASSERT_TRUE(watched);
    fs::remove(root / "watched");
    EXPECT_TRUE(reports(FolderChange::deleted));
    EXPECT_FALSE(watched->currentPath());
}

TEST_F(LinuxFolders, AFolderThatGoesWithItsParentIsReportedGone) {
    fs::create_directories(root / "outer" / "inner");
    const auto watched = watch(root / "outer" / "inner");
    ASSERT_TRUE(watched);
    fs::remove_all(root / "outer");
    EXPECT_TRUE(reports(FolderChange::deleted));
}

TEST_F(LinuxFolders, AMovedFolderIsFollowedToItsNewPath) {
    fs::create_directories(root / "elsewhere");
    const auto watched = watch(root / "watched");
    ASSERT_TRUE(watched);
    fs::rename(root / "watched", root / "elsewhere" / "renamed");
    EXPECT_TRUE(reports(FolderChange::renamed));
    EXPECT_EQ(reported & FolderChange::deleted, 0u);
    EXPECT_EQ(watched->currentPath(), (root / "elsewhere" / "renamed").string());
}

// Far longer than the 1024 bytes a fixed buffer would hold.
TEST_F(LinuxFolders, APathLongerThanAnyFixedBufferIsReadWhole) {
    fs::path deep = root;
    for (int level = 0; level < 8; ++level)
        deep /= std::string(200, static_cast<char>('a' + level));
    fs::create_directories(deep / "watched");
    const auto watched = watch(deep / "watched");
    ASSERT_TRUE(watched);
    fs::rename(deep / "watched", deep / "moved");
    EXPECT_TRUE(reports(FolderChange::renamed));
    EXPECT_EQ(watched->currentPath(), (deep / "moved").string());
}

TEST_F(LinuxFolders, AMissingFolderOrAFileCannotBeWatched) {
    std::ofstream(root / "file") << "x";
    EXPECT_FALSE(watch(root / "missing"));
    EXPECT_FALSE(watch(root / "file"));
}

TEST_F(LinuxFolders, AWatchMayEndInsideItsOwnReport) {
    std::unique_ptr<FolderWatch> watched;
    int calls = 0;
    watched = events.watch((root / "watched").string(), [&](std::uint32_t) {
        ++calls;
        watched.reset();
    });
    ASSERT_TRUE(watched);
    std::ofstream(root / "watched" / "a.txt") << "x";
    EXPECT_TRUE(eventually([&] { return calls == 1; }));
    std::ofstream(root / "watched" / "b.txt") << "x";
    const auto control = watch(root);
    std::ofstream(root / "c.txt") << "x";
    EXPECT_TRUE(reports(FolderChange::contentsChanged));
    EXPECT_EQ(calls, 1);
}

// A folder the user trashes is gone for whoever shows it, as its watcher tells.
TEST_F(LinuxFolders, AFolderMovedToTheUsersTrashIsGoneForItsWatcher) {
    ScopedEnvironment environment;
    environment.set("XDG_DATA_HOME", (root / "data").string());
    LinuxFileSystem files;
    const std::optional<Path> trash = files.userDirectory(UserDirectory::trash);
    ASSERT_EQ(trash, (root / "data" / "Trash" / "files").string());

    DirectoryWatcher watcher(events, files);
    std::optional<std::optional<Path>> displaced;
    ASSERT_TRUE(watcher.watch((root / "watched").string(), [] {},
                              [&](const std::optional<Path>& moved) { displaced = moved; }));
    fs::rename(root / "watched", fs::path(*trash) / "watched");
    ASSERT_TRUE(eventually([&] { return displaced.has_value(); }));
    EXPECT_EQ(*displaced, std::nullopt) << "moved to " << displaced->value_or("");
}

}  // namespace
}  // namespace quillbern
