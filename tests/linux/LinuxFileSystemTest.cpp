#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <thread>

#include "core/foundation/Paths.h"
#include "core/palettes/FileSearchEngine.h"
#include "linux/freedesktop/LinuxFileSystem.h"
#include "linux/icu/IcuTextServices.h"
#include "sim/SimWorld.h"
#include "support/ScopedEnvironment.h"

namespace quillbern {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

// A tree of the test's own, readable by everyone, so a check that runs without root's
// rights still reaches it.
class LinuxFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / ("quillbern-files-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(root);
        fs::create_directories(root);
        fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    }
    void TearDown() override {
        // A folder left without rights could not be emptied.
        std::error_code ignored;
        if (fs::exists(root / "locked")) fs::permissions(root / "locked", fs::perms::owner_all, ignored);
        fs::remove_all(root, ignored);
    }

    Path at(std::string_view relative) const { return (root / relative).string(); }
    void file(std::string_view relative) const {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "x";
    }
    void folder(std::string_view relative) const { fs::create_directories(root / relative); }

    // Runs the engine's index over the real files; its reads wait on the simulated queue.
    std::vector<FileEntry> index(const std::vector<Path>& roots) const {
        SimWorld world;
        FileSearchEngine engine{{world.mainLoop, world.threads, files, text}};
        std::vector<FileEntry> built;
        engine.buildIndex(roots, {}, [&](std::vector<FileEntry> entries) { built = std::move(entries); });
        for (world.runUntilIdle(); world.threads.queue(FileSearchEngine::kQueueLabel)->runNext();
             world.runUntilIdle()) {
        }
        return built;
    }

    fs::path root;
    LinuxFileSystem files;
    IcuTextServices text;
};

std::vector<std::string> namesOf(const std::vector<FileEntry>& entries) {
    std::vector<std::string> names;
    for (const FileEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

TEST_F(LinuxFiles, ListsKindsAndDatesWithoutFollowingLinks) {
    folder("sub");
    file("note.txt");
    fs::create_symlink(root, root / "loop");
    fs::create_symlink(root / "note.txt", root / "note-link");
    const timespec times[2] = {{0, UTIME_OMIT}, {1'600'000'000, 500'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, at("note.txt").c_str(), times, 0), 0);

    const auto listed = files.list(at(""), false);
    ASSERT_TRUE(listed);
    std::map<std::string, DirEntry> byName;
    for (const DirEntry& entry : listed.value())
        byName[entry.name] = entry;
    ASSERT_EQ(byName.size(), 4u);
    EXPECT_EQ(byName["sub"].isDirectory, true);
    EXPECT_EQ(byName["loop"].isDirectory, false) << "a link to a folder is an item of its own";
    EXPECT_EQ(byName["note.txt"].isDirectory, false);
    EXPECT_EQ(byName["note.txt"].isPackage, false);
    EXPECT_EQ(byName["note.txt"].modified, WallTime{1'600'000'000.5});
    EXPECT_EQ(byName["note.txt"].path, childPath(normalizedPath(at("")), "note.txt"));
}

TEST_F(LinuxFiles, ALinkLoopIsIndexedOnceAndNeverEntered) {
    folder("a");
    file("a/inside.txt");
    fs::create_symlink(root, root / "a" / "up");
    fs::create_symlink(".", root / "self");

    const std::vector<FileEntry> entries = index({at("")});
    EXPECT_THAT(namesOf(entries), UnorderedElementsAre("a", "self", "inside.txt", "up"));
}

TEST_F(LinuxFiles, HidesDotNamesAndTheNamesThatTheHiddenFileLists) {
    file(".config");
    file("kept.txt");
    file("secret.txt");
    folder("private");
    std::ofstream(root / ".hidden") << "secret.txt\nprivate\r\n\nabsent\n";

    const auto shown = files.list(at(""), true);
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown.value().size(), 1u);
    EXPECT_EQ(shown.value()[0].name, "kept.txt");
    EXPECT_EQ(files.list(at(""), false).value().size(), 5u);
}

TEST_F(LinuxFiles, ANameThatIsNotUtf8IsListedShownAndStillOpens) {
    const std::string name = "caf\xE9.txt";
    std::ofstream(root / name) << "contents";

    const auto listing = FileSearchEngine::readLevel(files, text, at(""));
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->size(), 1u);
    EXPECT_EQ((*listing)[0].name, "caf\xEF\xBF\xBD.txt");
    std::ifstream opened((*listing)[0].path);
    std::string contents;
    opened >> contents;
    EXPECT_EQ(contents, "contents");
}

TEST_F(LinuxFiles, AMissingFolderOrAFileIsRefusedAndAnEmptyFolderIsNot) {
    file("plain.txt");
    folder("empty");
    const auto missing = files.list(at("absent"), true);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ENOENT);
    EXPECT_FALSE(files.list(at("plain.txt"), true));
    ASSERT_TRUE(files.list(at("empty"), true));
    EXPECT_THAT(files.list(at("empty"), true).value(), IsEmpty());
}

// Root reads every folder, so the check runs on a thread whose file-system identity is
// nobody's: the kernel then leaves root's reading rights out for that thread alone.
TEST_F(LinuxFiles, AFolderWithoutRightsIsRefusedAndSkippedByTheIndex) {
    folder("locked");
    file("locked/secret.txt");
    folder("open");
    file("open/visible.txt");
    fs::permissions(root / "locked", fs::perms::none);

    bool refused = false;
    std::vector<std::string> indexed;
    std::thread nobody([&] {
        if (::geteuid() == 0) ::setfsuid(65534);
        refused = !files.list(at("locked"), true);
        indexed = namesOf(index({at("")}));
    });
    nobody.join();

    EXPECT_TRUE(refused);
    EXPECT_THAT(indexed, ElementsAre("locked", "open", "visible.txt"));
}

// The user's folders from user-dirs.dirs under a configuration folder of the test's own.
TEST_F(LinuxFiles, UserFoldersComeFromTheUserDirsFileAndOnesSwitchedOffOrMissingAreLeftOut) {
    folder("home/Work Desk");
    folder("elsewhere/Docs");
    folder("home/Desktop");
    folder("config");
    ScopedEnvironment environment;
    environment.set("HOME", at("home"));
    environment.set("XDG_CONFIG_HOME", at("config"));

    // Without the file, the folders of the usual names, where they exist.
    folder("home/Documents");
    EXPECT_EQ(files.userDirectory(UserDirectory::desktop), at("home/Desktop"));
    EXPECT_EQ(files.userDirectory(UserDirectory::documents), at("home/Documents"));
    EXPECT_FALSE(files.userDirectory(UserDirectory::downloads));

    std::ofstream(root / "config" / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                      << "XDG_DESKTOP_DIR=\"$HOME/Work Desk\"\n"
                                                      << "XDG_DOCUMENTS_DIR=\"" << at("elsewhere/Docs") << "/\"\n"
                                                      << "XDG_DOWNLOAD_DIR=\"$HOME/\"\n"
                                                      << "XDG_MUSIC_DIR=\"$HOME/Music\"\n";
    EXPECT_EQ(files.userDirectory(UserDirectory::desktop), at("home/Work Desk"));
    EXPECT_EQ(files.userDirectory(UserDirectory::documents), at("elsewhere/Docs"));
    EXPECT_FALSE(files.userDirectory(UserDirectory::downloads)) << "the home folder itself means switched off";

    std::ofstream(root / "config" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Gone\"\n";
    EXPECT_FALSE(files.userDirectory(UserDirectory::desktop)) << "a folder that does not exist";
    EXPECT_EQ(files.userDirectory(UserDirectory::documents), at("home/Documents")) << "one the file does not name";
}

// The freedesktop Trash: made when missing so that a watch of it can start, private.
TEST_F(LinuxFiles, TheTrashFolderIsMadeWhenMissingAndWhatLiesInATrashIsKnown) {
    ScopedEnvironment environment;
    environment.set("HOME", at("home"));
    environment.set("XDG_DATA_HOME", at("data"));
    EXPECT_EQ(files.userDirectory(UserDirectory::trash), at("data/Trash/files"));
    EXPECT_TRUE(fs::is_directory(root / "data" / "Trash" / "info"));
    EXPECT_EQ(fs::status(root / "data" / "Trash").permissions() & fs::perms::all, fs::perms::owner_all);

    EXPECT_TRUE(files.isInTrash(at("data/Trash/files/report.txt")));
    EXPECT_TRUE(files.isInTrash("/media/usb/.Trash-" + std::to_string(::getuid()) + "/files/a"));
    EXPECT_TRUE(files.isInTrash("/media/usb/.Trash/" + std::to_string(::getuid()) + "/files/a"));
    EXPECT_FALSE(files.isInTrash(at("data/Trash")));
    EXPECT_FALSE(files.isInTrash(at("data/Trashcan/a")));
    EXPECT_FALSE(files.isInTrash(at("home/Documents/Trash/a")));
}

}  // namespace
}  // namespace quillbern
