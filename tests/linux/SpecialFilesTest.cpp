#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/freedesktop/LinuxFileSystem.h"
#include "linux/freedesktop/LinuxLoginService.h"
#include "linux/freedesktop/LinuxThumbnailer.h"
#include "linux/process/PictureReaderProcess.h"
#include "support/ScopedEnvironment.h"
#include "ui/foundation/QtIcons.h"

namespace quillbern {
namespace {

namespace fs = std::filesystem;

// Runs `read`; should it wait on one of the FIFOs for longer than any start may take, the
// FIFOs are opened from the other end until it ends, so the test fails instead of hanging.
bool endsWithoutAWriter(const std::vector<fs::path>& fifos, const std::function<void()>& read) {
    std::future<void> reading = std::async(std::launch::async, read);
    if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return true;
    while (reading.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        for (const fs::path& fifo : fifos) {
            if (const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC); fd >= 0) ::close(fd);
        }
    }
    return false;
}

// Anyone may put a FIFO where the desktop keeps a file; reading it must hold nobody (the
// start would wait in `open` for good), and the file counts as missing.
TEST(DesktopFiles, AFifoInPlaceOfAFileOfTheDesktopIsNotRead) {
    const fs::path root = fs::temp_directory_path() / ("quillbern-special-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const auto fifo = [&](const fs::path& path) {
        fs::create_directories(path.parent_path());
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
        return path;
    };
    ScopedEnvironment environment;
    environment.set("HOME", (root / "home").string());
    environment.set("XDG_CONFIG_HOME", (root / "config").string());
    environment.set("XDG_CACHE_HOME", (root / "cache").string());
    fs::create_directories(root / "home" / "Desktop");
    fs::create_directories(root / "files");
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const std::string photo = (root / "files" / "photo.png").string();
    ASSERT_TRUE(picture.save(QString::fromStdString(photo)));
    const std::vector<fs::path> fifos{
        fifo(root / "config" / "autostart" / "quillbern.desktop"),
        fifo(root / "config" / "user-dirs.dirs"),
        fifo(root / "files" / ".hidden"),
        fifo(LinuxThumbnailer::cacheFile("normal", "file://" + photo)),
        fifo(root / "files" / "app.desktop"),
        fifo(root / "icons" / "app.png"),
    };
    std::ofstream(root / "icons" / "app.desktop")
        << "[Desktop Entry]\nType=Application\nName=App\nExec=true\nIcon=" << (root / "icons" / "app.png").string()
        << "\n";

    const bool ended = endsWithoutAWriter(fifos, [&] {
        EXPECT_EQ(LinuxLoginService("/usr/bin/quillbern").status(), LoginStatus::notRegistered);
        LinuxFileSystem files;
        EXPECT_EQ(files.userDirectory(UserDirectory::desktop), (root / "home" / "Desktop").string());
        const auto listed = files.list((root / "files").string(), true);
        EXPECT_TRUE(listed && listed.value().size() == 2) << "photo.png and app.desktop";
        EXPECT_TRUE(LinuxThumbnailer(std::make_unique<PictureReaderProcess>(ReaderProgram::at(QUILLBERN_PICTURE_READER),
                                                                            "thumbnails"))
                        .thumbnail(photo, 64, 10)
                        .image)
            << "made again";
        EXPECT_FALSE(LinuxAppCatalog().appInfo((root / "files" / "app.desktop").string()));
        const QtIcons icons;
        EXPECT_FALSE(icons.appIcon((root / "files" / "app.desktop").string()));
        EXPECT_FALSE(icons.appIcon((root / "icons" / "app.desktop").string())) << "its icon file: the generic picture";
        icons.fileIcon((root / "home" / "Desktop").string());  // the user's folders name its icon
    });
    EXPECT_TRUE(ended) << "a reader waited for a writer";
    fs::remove_all(root);
}

}  // namespace
}  // namespace quillbern
