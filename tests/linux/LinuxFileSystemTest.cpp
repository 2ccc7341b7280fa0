#include <fcntl.h>
#include <glib.h>
#include <sched.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>

#include "core/foundation/Paths.h"
#include "core/palettes/FileSearchEngine.h"
#include "core/tiles/TrashDrop.h"
#include "linux/freedesktop/LinuxFileSystem.h"
#include "linux/icu/IcuTextServices.h"
#include "linux/process/LinuxProcesses.h"
#include "sim/SimAlerts.h"
#include "sim/SimLauncher.h"
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
        FileSearchEngine engine{{.mainLoop = world.mainLoop, .threads = world.threads, .files = files, .text = text}};
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
    EXPECT_EQ(files.userDirectory(UserDirectory::home), at("home"));
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

// The record of a trashed item: its "Path=" as written, and as a file manager reads it back.
std::pair<std::string, std::string> recordedPath(const fs::path& info) {
    std::ifstream in(info);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.starts_with("Path=")) continue;
        std::string written = line.substr(5);
        gchar* read = g_uri_unescape_string(written.c_str(), nullptr);
        std::pair<std::string, std::string> result{written, read ? read : ""};
        g_free(read);
        return result;
    }
    return {};
}

// A file system of its own, mounted from an image in a mount namespace of the test's own;
// none where the machine does not allow it. Not a tmpfs, which GIO counts as the system's
// and keeps no Trash on, nor a bind, which is the same file system.
std::optional<fs::path> secondFileSystem(const fs::path& image, const fs::path& at) {
    fs::create_directories(at);
    std::ofstream(image).close();
    fs::resize_file(image, 8 << 20);
    LinuxProcesses processes;
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        processes.run({"mkfs.ext4", {"-q", "-F", image.string()}, {}}, 30.0).exitStatus != 0 ||
        processes.run({"mount", {"-o", "loop", image.string(), at.string()}, {}}, 30.0).exitStatus != 0)
        return std::nullopt;
    return at;
}

// File managers put an item back from its record: the name comes back exactly, whatever
// it holds. An item in a Trash, the user's or a volume's, stays there with its record,
// however its path is spelled.
TEST_F(LinuxFiles, TrashedItemsKeepTheirExactNameAndItemsInATrashStay) {
    ScopedEnvironment environment;
    environment.set("HOME", at("home"));
    // A data folder reached through a link, as in a home that is one.
    folder("real-data");
    fs::create_symlink(root / "real-data", root / "data");
    environment.set("XDG_DATA_HOME", at("data"));
    if (g_get_user_data_dir() != at("data")) GTEST_SKIP() << "GLib read its data folder before this test";
    const std::string name = "50%25 off é.txt";
    file("home/" + name);
    ASSERT_TRUE(files.moveToTrash(at("home/" + name)));
    EXPECT_TRUE(fs::exists(root / "data/Trash/files" / name));
    const auto [written, read] = recordedPath(root / "data/Trash/info" / (name + ".trashinfo"));
    EXPECT_EQ(read, at("home/" + name)) << written;
    EXPECT_EQ(written.find(' '), std::string::npos) << written;

    fs::create_symlink(root / "data/Trash/files", root / "trash-link");
    std::vector<Path> inTrash{at("data/Trash/files/" + name), at("data/Trash/info/" + name + ".trashinfo"),
                              at("real-data/Trash/files/" + name), at("data//Trash/files/" + name),
                              at("trash-link/" + name)};
    const std::optional<fs::path> volume = secondFileSystem(root / "volume.img", root / "volume");
    if (volume) {
        std::ofstream(*volume / "a b.txt") << "x";
        const Result<void> trashed = files.moveToTrash((*volume / "a b.txt").string());
        ASSERT_TRUE(trashed) << trashed.error().message;
        const fs::path volumeTrash = *volume / (".Trash-" + std::to_string(::getuid()));
        EXPECT_TRUE(fs::exists(volumeTrash / "files/a b.txt"));
        const auto [volumeWritten, volumeRead] = recordedPath(volumeTrash / "info/a b.txt.trashinfo");
        EXPECT_EQ(volumeWritten, "a%20b.txt") << "relative to the volume";
        EXPECT_EQ(volumeRead, "a b.txt");
        fs::create_symlink(volumeTrash / "files", root / "volume-trash-link");
        inTrash.push_back((volumeTrash / "files/a b.txt").string());
        inTrash.push_back(at("volume-trash-link/a b.txt"));
    }

    SimAlerts alerts;
    SimLauncher launcher;
    alerts.answerWith(1);
    moveDroppedToTrash(inTrash, files, alerts, launcher);
    for (const Path& item : inTrash)
        EXPECT_TRUE(fs::exists(item)) << item;
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "data/Trash/files"), {}), 1) << "nothing trashed twice";
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "data/Trash/info"), {}), 1);
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_THAT(alerts.shown()[0].informative,
                ::testing::StartsWith("The first was “" + name + "”: It is already in the Trash."));
    if (volume) ::umount(volume->c_str());
    if (!volume) GTEST_SKIP() << "no file system could be mounted here: the Trash of another one was not tried";
}

}  // namespace
}  // namespace quillbern
