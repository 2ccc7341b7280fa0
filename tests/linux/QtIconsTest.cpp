#include <glib.h>
#include <malloc.h>
#include <unistd.h>
#include <zlib.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/dock/BeaconMetrics.h"
#include "core/foundation/Log.h"
#include "core/platform/FrameClock.h"
#include "core/settings/HelpContent.h"
#include "core/settings/SettingsSection.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimClock.h"
#include "support/FifoWatch.h"
#include "support/PicturesArrived.h"
#include "support/ScopedEnvironment.h"
#include "ui/dock/LaunchBeaconView.h"
#include "ui/foundation/IconThemeIndex.h"
#include "ui/foundation/OutsidePictures.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/Symbols.h"

using namespace quillbern;
namespace fs = std::filesystem;

TEST(QtIcons, AnEntrysIconFileIsItsPicture) {
    const fs::path dir = fs::temp_directory_path() / ("quillbern-icons-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString((dir / "red.png").string())));
    std::ofstream(dir / "red.desktop") << "[Desktop Entry]\nType=Application\nName=Red\nExec=true\nIcon="
                                       << (dir / "red.png").string() << "\n";

    const QtIcons icons;
    const ImageHandle image = icons.appIcon((dir / "red.desktop").string());
    ASSERT_NE(image, nullptr);
    const QImage drawn = arrivedPicture(qIcon(image), QSize(16, 16));
    EXPECT_EQ(drawn.pixelColor(8, 8), QColor(Qt::red));

    EXPECT_EQ(icons.appIcon((dir / "absent.desktop").string()), nullptr);
    EXPECT_TRUE(qIcon(nullptr).isNull());
    fs::remove_all(dir);
}

TEST(QtIcons, FilesShowTheirTypesIconAndFoldersTheFolderIcon) {
    const fs::path dir = fs::temp_directory_path() / ("quillbern-file-icons-" + std::to_string(::getpid()));
    const fs::path theme = dir / "icons" / "quillbern-test";
    fs::create_directories(theme / "16x16");
    std::ofstream(theme / "index.theme")
        << "[Icon Theme]\nName=Test\nDirectories=16x16\n\n[16x16]\nSize=16\nType=Fixed\n";
    const auto drawIcon = [&](const char* name, Qt::GlobalColor color) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(QString::fromStdString((theme / "16x16" / (std::string(name) + ".png")).string())));
    };
    drawIcon("folder", Qt::red);
    drawIcon("image-png", Qt::green);
    drawIcon("text-x-generic", Qt::blue);
    drawIcon("user-home", Qt::yellow);
    fs::create_directories(dir / "files" / "album.png");
    std::ofstream(dir / "files" / "photo.png") << "not really a picture";
    std::ofstream(dir / "files" / "notes.unknown-kind") << "?";
    std::ofstream(dir / "files" / "caf\xE9.png") << "?";

    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString((dir / "icons").string())});
    QIcon::setThemeName(QStringLiteral("quillbern-test"));
    const QtIcons icons;
    const auto colourOf = [&](const fs::path& path) {
        return arrivedPicture(qIcon(icons.fileIcon(path.string())), QSize(16, 16)).pixelColor(8, 8);
    };
    EXPECT_EQ(colourOf(dir / "files"), QColor(Qt::red));
    EXPECT_EQ(colourOf(dir / "files" / "album.png"), QColor(Qt::red)) << "a folder, whatever its name";
    EXPECT_EQ(colourOf(dir / "files" / "photo.png"), QColor(Qt::green)) << "by its name";
    EXPECT_EQ(colourOf(dir / "files" / "caf\xE9.png"), QColor(Qt::green));
    EXPECT_EQ(colourOf(dir / "files" / "notes.unknown-kind"), QColor(Qt::blue));

    // The user's own folders by their own icons, where the theme has them.
    EXPECT_EQ(colourOf(g_get_home_dir()), QColor(Qt::yellow));
    const auto folderColour = [](const std::string& path) {
        return arrivedPicture(folderIcon(path), QSize(16, 16)).pixelColor(8, 8);
    };
    EXPECT_EQ(folderColour(std::string(g_get_home_dir()) + "/"), QColor(Qt::yellow));
    EXPECT_EQ(folderColour(g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP)), QColor(Qt::red))
        << "the theme has no icon of the Desktop's own";
    QIcon::setThemeName(themeName);
    QIcon::setThemeSearchPaths(searchPaths);
    fs::remove_all(dir);
}

TEST(QtIcons, AThemesIconKeepsTheSizesItDrewAndNotTheWholePicture) {
    // As Adwaita gives most pictures: one of 512 pixels for every size from 56 up.
    const fs::path dir = fs::temp_directory_path() / ("quillbern-large-icons-" + std::to_string(::getpid()));
    const fs::path theme = dir / "quillbern-large";
    fs::create_directories(theme / "512x512");
    std::ofstream(theme / "index.theme") << "[Icon Theme]\nName=Large\nDirectories=512x512\n\n"
                                         << "[512x512]\nSize=512\nMinSize=56\nMaxSize=512\nType=Scalable\n";
    QImage green(512, 512, QImage::Format_ARGB32);
    green.fill(Qt::green);
    const QString picture = QString::fromStdString((theme / "512x512" / "text-x-generic.png").string());
    ASSERT_TRUE(green.save(picture));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString(dir.string())});
    QIcon::setThemeName(QStringLiteral("quillbern-large"));
    keepWholePicturesOutOfQtsPixmapCache();
    ASSERT_TRUE(QIcon::hasThemeIcon(QStringLiteral("text-x-generic")));
    const auto held = [] {
        const struct mallinfo2 heap = mallinfo2();
        return static_cast<long>(heap.uordblks + heap.hblkhd);
    };
    const long before = held();

    const QIcon icon = qIcon(QtIcons().fileIcon("/nowhere/notes.txt"));
    EXPECT_EQ(arrivedPicture(icon, QSize(64, 64)).pixelColor(32, 32), QColor(Qt::green));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (held() - before > 256 * 1024 && std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_LT(held() - before, 256 * 1024) << "the whole picture (1 MB) is let go once drawn";

    fs::remove(picture.toStdString());
    EXPECT_EQ(qIcon(QtIcons().fileIcon("/nowhere/more-notes.txt")).pixmap(64, 64).toImage().pixelColor(32, 32),
              QColor(Qt::green))
        << "the size drawn is kept, for every icon of the name";
    QIcon::setThemeName(themeName);
    QIcon::setThemeSearchPaths(searchPaths);
    fs::remove_all(dir);
}

namespace {

// An entry whose icon is a red picture, in a folder of its own.
struct RedEntry {
    RedEntry() : dir(fs::temp_directory_path() / ("quillbern-red-" + std::to_string(::getpid()))) {
        fs::create_directories(dir);
        QImage red(32, 32, QImage::Format_ARGB32);
        red.fill(Qt::red);
        red.save(QString::fromStdString((dir / "red.png").string()));
        std::ofstream(dir / "red.desktop")
            << "[Desktop Entry]\nType=Application\nName=Red\nExec=true\nIcon=" << (dir / "red.png").string() << "\n";
        std::ofstream(dir / "plain.desktop") << "[Desktop Entry]\nType=Application\nName=Plain\nExec=true\n"
                                             << "Icon=no-theme-has-this-icon\n";
    }
    ~RedEntry() { fs::remove_all(dir); }
    fs::path dir;
};

}  // namespace

// A tile draws its entry's icon, else the generic picture; an icon file that cannot be
// drawn must leave it the generic picture, never nothing, even where no theme is installed.
TEST(QtIcons, AnIconFileThatCannotBeDrawnLeavesTheGenericPicture) {
    const RedEntry entry;
    const fs::path red = entry.dir / "red.png";
    std::ifstream in(red, std::ios::binary);
    const std::string png(std::istreambuf_iterator<char>(in), {});
    std::ofstream(entry.dir / "truncated.png", std::ios::binary) << png.substr(0, png.size() / 2);
    // Its header says 30000 × 30000 pixels, with the sum that makes it a header to trust.
    std::string huge = png;
    for (const std::size_t at : {16, 20})
        huge.replace(at, 4, std::string("\x00\x00\x75\x30", 4));
    const uLong sum = crc32(0, reinterpret_cast<const Bytef*>(huge.data() + 12), 17);
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<char>(sum >> (24 - 8 * i));
    std::ofstream(entry.dir / "huge.png", std::ios::binary) << huge;
    fs::create_symlink(entry.dir / "loop-b.png", entry.dir / "loop-a.png");
    fs::create_symlink(entry.dir / "loop-a.png", entry.dir / "loop-b.png");
    const QStringList searchPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({QString::fromStdString(entry.dir.string())});

    const QtIcons icons;
    const QImage generic = arrivedPicture(qIcon(icons.genericAppIcon()), QSize(32, 32));
    EXPECT_FALSE(generic.isNull()) << "no theme has the generic picture: it is the program's own";
    for (const char* name : {"missing.png", "truncated.png", "huge.png", "loop-a.png"}) {
        const fs::path desktop = entry.dir / (std::string(name) + ".desktop");
        std::ofstream(desktop) << "[Desktop Entry]\nType=Application\nName=X\nExec=true\nIcon="
                               << (entry.dir / name).string() << "\n";
        const ImageHandle image = icons.appIcon(desktop.string());
        // A file that is there is read off the main thread, and only then told undrawable.
        EXPECT_EQ(image ? arrivedPicture(qIcon(image), QSize(32, 32)) : generic, generic)
            << name << ": no picture of its own, so the generic one";
    }
    QIcon::setThemeSearchPaths(searchPaths);
}

namespace {

// Icon themes of a test's own in a folder of its own, in place of the desktop's.
class TestThemes {
public:
    explicit TestThemes(const std::string& name)
        : dir(fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()))),
          searchPaths_(QIcon::themeSearchPaths()),
          fallbackPaths_(QIcon::fallbackSearchPaths()),
          themeName_(QIcon::themeName()),
          fallbackName_(QIcon::fallbackThemeName()) {
        fs::remove_all(dir);
        fs::create_directories(dir / "icons");
        QIcon::setThemeSearchPaths({QString::fromStdString((dir / "icons").string())});
        QIcon::setFallbackSearchPaths({});
    }
    ~TestThemes() {
        QIcon::setThemeName(themeName_);
        QIcon::setFallbackThemeName(fallbackName_);
        QIcon::setFallbackSearchPaths(fallbackPaths_);
        QIcon::setThemeSearchPaths(searchPaths_);
        fs::remove_all(dir);
    }

    // A theme of the given index lines and folders.
    fs::path theme(const std::string& name, const std::string& index, const std::vector<std::string>& folders) const {
        const fs::path root = dir / "icons" / name;
        for (const std::string& folder : folders)
            fs::create_directories(root / folder);
        std::ofstream(root / "index.theme") << "[Icon Theme]\nName=" << name << "\n" << index;
        return root;
    }
    static void picture(const fs::path& path, int side, Qt::GlobalColor colour) {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(path.string())));
    }
    // An entry of an application whose icon has that name.
    std::string entry(const std::string& icon) const {
        const fs::path path = dir / (icon + ".desktop");
        std::ofstream(path) << "[Desktop Entry]\nType=Application\nName=X\nExec=true\nIcon=" << icon << "\n";
        return path.string();
    }

    fs::path dir;

private:
    QStringList searchPaths_;
    QStringList fallbackPaths_;
    QString themeName_;
    QString fallbackName_;
};

QColor centreOf(const QIcon& icon) {
    return arrivedPicture(icon, QSize(32, 32)).pixelColor(16, 16);
}

QImage drawnAt24(const QIcon& icon) {
    arrivedPicture(icon, QSize(24, 24));
    QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintIconFitted(painter, QRectF(0, 0, 24, 24), icon);
    return image;
}

}  // namespace

TEST(IconThemeIndex, AnIconIsTheFileOfTheFirstThemeThatHasItAtTheSizeThatSuitsBest) {
    TestThemes themes("quillbern-index");
    const fs::path child = themes.theme("child",
                                        "Inherits=parent\nDirectories=16x16,48x48,64x64,scalable,../escape\n"
                                        "[16x16]\nSize=16\nType=Fixed\n[48x48]\nSize=48\n[64x64]\nSize=64\n"
                                        "[scalable]\nSize=64\nType=Scalable\nMinSize=96\nMaxSize=512\n"
                                        "[../escape]\nSize=16\n",
                                        {"16x16", "48x48", "scalable"});
    const fs::path parent = themes.theme("parent", "Directories=32x32\n[32x32]\nSize=32\nType=Fixed\n", {"32x32"});
    const fs::path hicolor = themes.theme("hicolor", "Directories=apps\n[apps]\nSize=48\n", {"apps"});
    fs::create_directories(themes.dir / "pixmaps");
    for (const fs::path& file :
         {child / "16x16" / "both.png", child / "48x48" / "both.png", child / "scalable" / "both.svg",
          parent / "32x32" / "both.png", parent / "32x32" / "parental.png", hicolor / "apps" / "parental.png",
          hicolor / "apps" / "common.png", themes.dir / "pixmaps" / "plain.xpm", themes.dir / "icons" / "escape.png"})
        std::ofstream(file) << "?";
    fs::create_directories(child / "48x48" / "folder.png");
    const IconThemeIndex index({"child", "not-installed"}, {QString::fromStdString((themes.dir / "icons").string())},
                               {QString::fromStdString((themes.dir / "pixmaps").string())});
    const auto best = [&](const QString& name, int pixels) {
        const std::vector<ThemeIconFile>& files = index.filesOf(name);
        const auto nearest = std::ranges::min_element(
            files, {}, [pixels](const ThemeIconFile& file) { return file.distanceTo(pixels, 1); });
        return nearest == files.end() ? std::string() : fs::relative(nearest->path.toStdString(), themes.dir).string();
    };
    EXPECT_EQ(best("both", 16), "icons/child/16x16/both.png");
    EXPECT_EQ(best("both", 24), "icons/child/16x16/both.png");
    EXPECT_EQ(best("both", 32), "icons/child/48x48/both.png") << "nearer 46, the threshold of 48, than 16";
    EXPECT_EQ(best("both", 50), "icons/child/48x48/both.png");
    EXPECT_EQ(best("both", 128), "icons/child/scalable/both.svg");
    EXPECT_EQ(index.filesOf(QStringLiteral("both")).size(), 3u) << "the parent's is not looked at";
    EXPECT_EQ(best("parental", 48), "icons/parent/32x32/parental.png") << "the parent before hicolor";
    EXPECT_EQ(best("common", 16), "icons/hicolor/apps/common.png");
    EXPECT_EQ(best("plain", 16), "pixmaps/plain.xpm");
    EXPECT_EQ(best("folder", 48), "") << "only files";
    EXPECT_EQ(best("escape", 16), "") << "no folder outside the theme";
    EXPECT_EQ(best("../icons/escape", 16), "");
}

// An application installed later puts its icon into a folder the theme lists, there or made
// by the install, in a base folder there or made by it too.
TEST(IconThemeIndex, SeesWhatIsInstalledIntoTheThemesFoldersLater) {
    TestThemes themes("quillbern-index-later");
    const fs::path hicolor = themes.theme(
        "hicolor", "Directories=48x48/apps,64x64/apps\n[48x48/apps]\nSize=48\n[64x64/apps]\nSize=64\n", {"48x48/apps"});
    const QStringList bases{QString::fromStdString((themes.dir / "icons").string()),
                            QString::fromStdString((themes.dir / "made-later").string())};
    // Every folder as changed an hour ago, or just now.
    const auto changed = [&](std::chrono::hours ago) {
        for (const auto& entry : fs::recursive_directory_iterator(themes.dir)) {
            if (entry.is_directory()) fs::last_write_time(entry.path(), fs::file_time_type::clock::now() - ago);
        }
    };
    const auto found = [&bases](const char* name) {
        return IconThemeIndex({}, bases, {}).filesOf(QString::fromLatin1(name)).size();
    };

    changed(std::chrono::hours(0));
    EXPECT_FALSE(IconThemeIndex({}, bases, {}).isCurrent())
        << "a folder that changed within a time stamp's grain may change again unseen";
    changed(std::chrono::hours(1));
    const IconThemeIndex settled({}, bases, {});
    EXPECT_TRUE(settled.isCurrent());
    fs::create_directories(hicolor / "unlisted");
    EXPECT_TRUE(settled.isCurrent()) << "a folder the theme does not list";

    std::ofstream(hicolor / "48x48/apps" / "into-its-folder.png") << "?";
    EXPECT_FALSE(settled.isCurrent());
    EXPECT_EQ(found("into-its-folder"), 1u);

    changed(std::chrono::hours(1));
    const IconThemeIndex again({}, bases, {});
    fs::create_directories(hicolor / "64x64/apps");
    std::ofstream(hicolor / "64x64/apps" / "into-a-new-folder.png") << "?";
    EXPECT_FALSE(again.isCurrent());
    EXPECT_EQ(found("into-a-new-folder"), 1u);

    changed(std::chrono::hours(1));
    const IconThemeIndex before({}, bases, {});
    fs::create_directories(themes.dir / "made-later" / "hicolor" / "48x48/apps");
    std::ofstream(themes.dir / "made-later" / "hicolor" / "48x48/apps" / "into-a-new-base.png") << "?";
    EXPECT_FALSE(before.isCurrent());
    EXPECT_EQ(found("into-a-new-base"), 1u);
}

// The rules' order: a theme's own parents before the fallback theme, hicolor last whoever
// inherits from it; a folder's scale before its size; pictures of no theme in the base
// folders themselves too.
TEST(IconThemeIndex, ScaleCountsBeforeSizeHicolorComesLastAndBaseFoldersHoldUnthemedPictures) {
    TestThemes themes("quillbern-rules");
    const fs::path named = themes.theme("named",
                                        "Inherits=hicolor,parent\nDirectories=24@2,48\n[48]\nSize=48\nType=Fixed\n"
                                        "[24@2]\nSize=24\nScale=2\nType=Fixed\n",
                                        {"48", "24@2"});
    const fs::path parent = themes.theme("parent", "Directories=apps\n[apps]\nSize=48\n", {"apps"});
    const fs::path hicolor = themes.theme("hicolor", "Directories=apps\n[apps]\nSize=48\n", {"apps"});
    for (const fs::path& file : {named / "48" / "sharp.png", named / "24@2" / "sharp.png", parent / "apps" / "both.png",
                                 hicolor / "apps" / "both.png"})
        std::ofstream(file) << "?";
    const IconThemeIndex index({"named"}, {QString::fromStdString((themes.dir / "icons").string())}, {});
    const auto best = [&](const QString& name, int size, int scale) {
        std::vector<ThemeIconFile> files = index.filesOf(name);
        std::ranges::stable_sort(files, {}, [&](const ThemeIconFile& file) {
            return std::pair(!file.suits(size, scale), file.distanceTo(size, scale));
        });
        return files.empty() ? std::string() : fs::relative(files.front().path.toStdString(), themes.dir).string();
    };
    EXPECT_EQ(best("sharp", 24, 2), "icons/named/24@2/sharp.png");
    EXPECT_EQ(best("sharp", 48, 1), "icons/named/48/sharp.png") << "as many pixels, but made for another scale";
    EXPECT_EQ(best("both", 48, 1), "icons/parent/apps/both.png") << "hicolor comes last";

    // An application whose icon lies in the base folder itself, as the rules allow.
    TestThemes::picture(themes.dir / "icons" / "loose.png", 48, Qt::red);
    QIcon::setThemeName(QStringLiteral("named"));
    QIcon::setFallbackThemeName({});
    EXPECT_EQ(centreOf(qIcon(QtIcons().appIcon(themes.entry("loose")))), QColor(Qt::red));
}

namespace {

struct LoggedLines final : LogSink {
    void write(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

}  // namespace

// 32 themes of thousands of folders that are not there took 20-30 s to start and 52-57 s for
// each name no theme had: every folder listed counts, there or not, and hicolor's first.
TEST(IconThemeIndex, EveryFolderAThemeListsCountsTowardOneBoundThatLeavesHicolorItsIcons) {
    TestThemes themes("quillbern-many-folders");
    for (int n = 0; n < 31; ++n) {
        std::string index = (n < 30 ? "Inherits=t" + std::to_string(n + 1) + "\n" : std::string()) + "Directories=";
        std::string groups;
        for (int folder = 0; folder < 300; ++folder) {
            index += (folder ? "," : "") + std::to_string(folder);
            groups += "[" + std::to_string(folder) + "]\nSize=48\n";
        }
        themes.theme("t" + std::to_string(n), index + "\n" + groups, {"0"});
    }
    const fs::path hicolor = themes.theme("hicolor", "Directories=apps\n[apps]\nSize=48\n", {"apps"});
    std::ofstream(hicolor / "apps" / "application.png") << "?";
    LoggedLines log;
    LogSink* const previous = setLogSink(&log);
    const QStringList bases{QString::fromStdString((themes.dir / "icons").string())};
    EXPECT_EQ(IconThemeIndex({"t0"}, bases, {}).filesOf(QStringLiteral("application")).size(), 1u);
    EXPECT_EQ(IconThemeIndex({"t0"}, bases, {}).filesOf(QStringLiteral("application")).size(), 1u);
    setLogSink(previous);
    EXPECT_EQ(std::ranges::count_if(log.lines,
                                    [](const std::string& line) { return line.find("8192") != std::string::npos; }),
              1)
        << "the bound is told once a run";
}

// A picture from outside is read off the main thread: a view draws the stand-in meanwhile,
// and the shown windows repaint once the picture has arrived.
TEST(OutsidePictures, APictureArrivesFromTheWorkerAndTheShownWindowsRepaint) {
    TestThemes themes("quillbern-arrivals");
    TestThemes::picture(themes.dir / "arriving.png", 32, Qt::red);
    const QIcon standIn = symbolIcon("app.dashed");
    const QImage standInPicture = arrivedPicture(standIn, QSize(32, 32));
    const QIcon icon = themeIcon({QString::fromStdString((themes.dir / "arriving").string())}, standIn);
    const QIcon file = qIcon(QtIcons().appIcon([&] {
        const fs::path path = themes.dir / "arriving.desktop";
        std::ofstream(path) << "[Desktop Entry]\nType=Application\nName=X\nExec=true\nIcon="
                            << (themes.dir / "arriving.png").string() << "\n";
        return path.string();
    }()));
    struct Counting final : QWidget {
        using QWidget::QWidget;
        void paintEvent(QPaintEvent*) override { ++paints; }
        int paints = 0;
    } window;
    window.resize(32, 32);
    // Opaque, as a list's viewport is: Qt leaves it out of its window's repaint.
    auto* part = new Counting(&window);
    part->setAttribute(Qt::WA_OpaquePaintEvent);
    part->setGeometry(0, 0, 32, 16);
    window.show();
    waitForPictures();
    const int paintsBefore = window.paints;
    const int partPaintsBefore = part->paints;
    const QImage drawnFirst = file.pixmap(32, 32).toImage();
    EXPECT_EQ(drawnFirst, standInPicture) << "the stand-in while the file is read";
    waitForPictures();
    EXPECT_EQ(file.pixmap(32, 32).toImage().pixelColor(16, 16), QColor(Qt::red));
    EXPECT_GT(window.paints, paintsBefore) << "repainted when the picture arrived";
    EXPECT_GT(part->paints, partPaintsBefore) << "and every part of it";
    EXPECT_EQ(icon.pixmap(32, 32).toImage(), standInPicture) << "a path is no name of the themes";

    // A label holds the picture it was given, the stand-in, until the picture arrives.
    TestThemes::picture(themes.dir / "labelled.png", 32, Qt::blue);
    std::ofstream(themes.dir / "labelled.desktop")
        << "[Desktop Entry]\nType=Application\nName=X\nExec=true\nIcon=" << (themes.dir / "labelled.png").string()
        << "\n";
    QLabel label;
    showIconIn(label, qIcon(QtIcons().appIcon((themes.dir / "labelled.desktop").string())), 32);
    const QImage shownFirst = label.pixmap().toImage();
    EXPECT_EQ(shownFirst, standInPicture);
    waitForPictures();
    EXPECT_EQ(label.pixmap().toImage().pixelColor(16, 16), QColor(Qt::blue));
}

namespace {

// A PNG of that size whose rows are all zeros: a picture at the memory bound at 4096, which
// takes its reader a while.
std::string zeroPng(std::uint32_t side) {
    const auto chunk = [](const std::string& type, const std::string& data) {
        std::string bytes;
        for (int i = 0; i < 4; ++i)
            bytes += char(std::uint32_t(data.size()) >> (24 - 8 * i));
        const std::string typed = type + data;
        const uLong sum = crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()));
        bytes += typed;
        for (int i = 0; i < 4; ++i)
            bytes += char(sum >> (24 - 8 * i));
        return bytes;
    };
    std::string header;
    for (int twice = 0; twice < 2; ++twice) {
        for (int i = 0; i < 4; ++i)
            header += char(side >> (24 - 8 * i));
    }
    header += std::string("\x08\x06\x00\x00\x00", 5);
    const std::string rows(std::size_t(side) * (1 + std::size_t(side) * 4), '\0');
    uLongf packedSize = compressBound(uLong(rows.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(rows.data()),
              uLong(rows.size()), 1);
    packed.resize(packedSize);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", packed) + chunk("IEND", {});
}

}  // namespace

// Measured: a plain icon pinned behind pictures that took their reader minutes had no
// picture after 20 s. What a paint asks is read best first, an icon of the themes before
// any file an entry names, so a large file asked with it holds it up no longer.
TEST(OutsidePictures, AThemesIconAskedWithALargeFileArrivesBeforeIt) {
    TestThemes themes("quillbern-picture-order");
    const fs::path theme = themes.theme("order", "Directories=apps\n[apps]\nSize=32\n", {"apps"});
    QIcon::setThemeName(QStringLiteral("order"));
    QIcon::setFallbackThemeName({});
    TestThemes::picture(theme / "apps" / "plain.png", 32, Qt::red);
    std::ofstream(themes.dir / "large.png", std::ios::binary) << zeroPng(4096);
    std::ofstream(themes.dir / "large.desktop")
        << "[Desktop Entry]\nType=Application\nName=X\nExec=true\nIcon=" << (themes.dir / "large.png").string() << "\n";
    const QtIcons icons;
    waitForPictures();

    const QIcon large = qIcon(icons.appIcon((themes.dir / "large.desktop").string()));
    const QIcon plain = qIcon(icons.appIcon(themes.entry("plain")));
    large.pixmap(32, 32);
    plain.pixmap(32, 32);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (plain.pixmap(32, 32).toImage().pixelColor(16, 16) != QColor(Qt::red) &&
           std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(plain.pixmap(32, 32).toImage().pixelColor(16, 16), QColor(Qt::red));
    EXPECT_GT(OutsidePictures::shared().beingRead(), 0) << "the large file is still to be read";
    waitForPictures();
}

namespace {

// An SVG of one path of many curves stroked wide, drawn `uses` times more: it takes its reader
// about a second per thousand curves and use, and its painter buffers megabytes for it.
std::string wideStrokes(int curves, int uses) {
    std::ostringstream svg;
    svg << R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="64" )"
        << R"(height="64"><path id="p" fill="none" stroke="#345" stroke-width="200" d="M0,0)";
    for (int i = 0; i < curves; ++i)
        svg << " Q" << (i * 7) % 64 << "," << (i * 13) % 64 << " " << (i * 11) % 64 << "," << (i * 5) % 64;
    svg << R"("/>)";
    for (int i = 0; i < uses; ++i)
        svg << R"(<use xlink:href="#p"/>)";
    svg << "</svg>";
    return svg.str();
}

std::string entryWithIcon(const fs::path& dir, const std::string& name, const std::string& icon) {
    const fs::path path = dir / (name + ".desktop");
    std::ofstream(path) << "[Desktop Entry]\nType=Application\nName=X\nExec=true\nIcon=" << icon << "\n";
    return path.string();
}

}  // namespace

// Measured: two icons that took their reader hours, pinned before a plain one, held it back
// for good. A picture not read in its first short time waits until the others have had theirs;
// one not read in its second is given up, its reading ended, and not asked for again.
TEST(OutsidePictures, APlainIconAfterSlowOnesArrivesFirstAndOneNeverReadIsGivenUp) {
    TestThemes themes("quillbern-slow-icons");
    std::ofstream(themes.dir / "slow.svg") << wideStrokes(4000, 100);
    TestThemes::picture(themes.dir / "plain.png", 32, Qt::green);
    const QtIcons icons;
    waitForPictures();
    const QIcon slow = qIcon(icons.appIcon(entryWithIcon(themes.dir, "slow", (themes.dir / "slow.svg").string())));
    const QIcon plain = qIcon(icons.appIcon(entryWithIcon(themes.dir, "plain", (themes.dir / "plain.png").string())));
    slow.pixmap(32, 32);
    plain.pixmap(32, 32);
    const auto begun = std::chrono::steady_clock::now();
    while (plain.pixmap(32, 32).toImage().pixelColor(16, 16) != QColor(Qt::green) &&
           std::chrono::steady_clock::now() - begun < std::chrono::seconds(10))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(2));
    EXPECT_EQ(OutsidePictures::shared().beingRead(), 1) << "the slow one is read again after it";

    LoggedLines log;
    LogSink* const previous = setLogSink(&log);
    waitForPictures();
    setLogSink(previous);
    EXPECT_NE(slow.pixmap(32, 32).toImage().pixelColor(16, 16), QColor(0x33, 0x44, 0x55)) << "a stand-in";
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines.front().find("given up"), std::string::npos) << log.lines.front();
    slow.pixmap(48, 48);
    EXPECT_EQ(OutsidePictures::shared().beingRead(), 0) << "nor is it read at another size";
}

// Measured: twenty icons copied from one SVG of wide strokes held 249 MB at rest: each picture
// kept the buffers its painter had stroked with.
TEST(OutsidePictures, AnIconKeepsOnlyItsPixels) {
    TestThemes themes("quillbern-kept-pixels");
    std::vector<QIcon> icons;
    const QtIcons source;
    for (int n = 0; n < 8; ++n) {
        const std::string name = "wide" + std::to_string(n);
        std::ofstream(themes.dir / (name + ".svg")) << wideStrokes(300, 0);
        icons.push_back(
            qIcon(source.appIcon(entryWithIcon(themes.dir, name, (themes.dir / (name + ".svg")).string()))));
    }
    waitForPictures();
    malloc_trim(0);
    const std::size_t before = mallinfo2().uordblks;
    for (const QIcon& icon : icons)
        icon.pixmap(64, 64);
    waitForPictures();
    malloc_trim(0);
    const std::size_t held = mallinfo2().uordblks - before;
    EXPECT_NE(icons.front().pixmap(64, 64).toImage().pixelColor(32, 32).alpha(), 0) << "drawn";
    EXPECT_LT(held, std::size_t(2) << 20) << "bytes held for eight pictures of 16 KB";
}

// Qt reads theme icons for its own menus and dialogs, which it would decode in the program:
// once the program takes the themes' folders from Qt, Qt's lookups find none, and the
// program's own (through its reader) still do. In a process of its own, since the folders stay
// taken.
TEST(OutsidePictures, QtsOwnLookupsFindNoThemeOnceTheProgramTakesTheFolders) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TestThemes themes("quillbern-taken-folders");
            const fs::path theme = themes.theme("taken", "Directories=apps\n[apps]\nSize=16\n", {"apps"});
            TestThemes::picture(theme / "apps" / "folder.png", 16, Qt::red);
            TestThemes::picture(theme / "apps" / "user-home.png", 16, Qt::red);
            QIcon::setThemeName(QStringLiteral("taken"));
            const bool qtFoundBefore = !QIcon::fromTheme(QStringLiteral("folder")).isNull();
            OutsidePictures::shared().takeThemeFoldersFromQt();
            const bool qtFindsAfter = !QIcon::fromTheme(QStringLiteral("user-home")).isNull();
            const QColor ours =
                arrivedPicture(themeIcon({QStringLiteral("user-home")}, QIcon()), QSize(16, 16)).pixelColor(8, 8);
            std::_Exit(qtFoundBefore && !qtFindsAfter && ours == QColor(Qt::red) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Where neither the theme named nor the common theme is installed, a file still shows a
// picture: the program's own of a file, as folders and the Trash have theirs.
TEST(QtIcons, AFileOfAnyTypeShowsAPictureWhereNoThemeIsInstalled) {
    TestThemes themes("quillbern-no-themes");
    QIcon::setThemeName(QStringLiteral("breeze"));
    QIcon::setFallbackThemeName({});
    QImage blank(24, 24, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    for (const char* name : {"notes.md", "notes.txt", "photo.png", "no-kind-at-all"})
        EXPECT_NE(drawnAt24(qIcon(QtIcons().fileIcon(std::string("/nowhere/") + name))), blank) << name;
}

// What a theme holds is what an application package put there: a file in it that cannot be
// drawn is no icon, and never holds the main thread.
TEST(QtIcons, AThemeIconThatCannotBeDrawnLeavesTheGenericPicture) {
    TestThemes themes("quillbern-broken-icons");
    const fs::path theme =
        themes.theme("broken", "Directories=apps\n[apps]\nSize=48\nType=Scalable\nMinSize=8\nMaxSize=512\n", {"apps"});
    QIcon::setThemeName(QStringLiteral("broken"));
    QIcon::setFallbackThemeName({});
    TestThemes::picture(theme / "good.png", 48, Qt::red);
    std::ofstream(theme / "apps" / "empty.png");
    fs::create_directories(theme / "apps" / "folder.png");
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY a0 \"lol\">";
    for (int level = 1; level < 10; ++level) {
        laughs += "<!ENTITY a" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            laughs += "&a" + std::to_string(level - 1) + ";";
        laughs += "\">";
    }
    std::ofstream(theme / "apps" / "laughs.svg")
        << laughs << "]><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\"><text>&a9;</text></svg>";
    const QImage small(8, 8, QImage::Format_ARGB32);
    std::string huge;
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "png");
        huge = bytes.toStdString();
    }
    for (const std::size_t at : {16, 20})
        huge.replace(at, 4, std::string("\x00\x00\x75\x30", 4));
    const uLong sum = crc32(0, reinterpret_cast<const Bytef*>(huge.data() + 12), 17);
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = static_cast<char>(sum >> (24 - 8 * i));
    std::ofstream(theme / "apps" / "huge.png", std::ios::binary) << huge;
    FifoWatch fifo((theme / "apps" / "fifo.png").string());
    fs::rename(theme / "good.png", theme / "apps" / "good.png");

    const QtIcons icons;
    EXPECT_EQ(centreOf(qIcon(icons.appIcon(themes.entry("good")))), QColor(Qt::red));
    const QImage generic = arrivedPicture(qIcon(icons.genericAppIcon()), QSize(32, 32));
    for (const char* name : {"empty", "folder", "laughs", "huge", "fifo"}) {
        const ImageHandle image = icons.appIcon(themes.entry(name));
        EXPECT_EQ(image ? arrivedPicture(qIcon(image), QSize(32, 32)) : generic, generic)
            << name << ": no picture of its own, so the generic one";
    }
    EXPECT_EQ(fifo.opens(), 0);
}

// KDE's settings name Breeze where only GNOME's theme is installed: applications still find
// their icons in hicolor, and folders and the Trash have a picture, the common theme's where
// it is installed, else the program's own; never the question mark of a missing symbol.
TEST(QtIcons, UnderAThemeThatIsNotInstalledIconsComeFromHicolorAndTheCommonTheme) {
    TestThemes themes("quillbern-missing-theme");
    const fs::path hicolor = themes.theme("hicolor", "Directories=48x48/apps\n[48x48/apps]\nSize=48\n", {"48x48/apps"});
    TestThemes::picture(hicolor / "48x48/apps" / "uxterm.png", 48, Qt::green);
    // As Qt's platform theme of KDE names them.
    QIcon::setThemeName(QStringLiteral("breeze"));
    QIcon::setFallbackThemeName(QStringLiteral("breeze"));
    useCommonIconThemeAsFallback();

    const QtIcons icons;
    EXPECT_EQ(centreOf(qIcon(icons.appIcon(themes.entry("uxterm")))), QColor(Qt::green));
    const QImage unknown = drawnAt24(symbolIcon("questionmark.app.dashed"));
    const std::string home = g_get_home_dir();
    EXPECT_EQ(drawnAt24(folderIcon(home)), drawnAt24(symbolIcon("folder")));
    EXPECT_EQ(drawnAt24(qIcon(icons.fileIcon(home))), drawnAt24(symbolIcon("folder"))) << "the file palette's";
    EXPECT_EQ(drawnAt24(trashIcon(true)), drawnAt24(symbolIcon("trash")));
    EXPECT_NE(drawnAt24(folderIcon(home)), unknown);

    const fs::path common =
        themes.theme("Adwaita", "Inherits=hicolor\nDirectories=places\n[places]\nSize=48\n", {"places"});
    TestThemes::picture(common / "places" / "folder.png", 48, Qt::blue);
    TestThemes::picture(common / "places" / "user-trash.png", 48, Qt::yellow);
    useCommonIconThemeAsFallback();
    EXPECT_EQ(QIcon::fallbackThemeName(), QStringLiteral("Adwaita"));
    EXPECT_EQ(centreOf(folderIcon(home)), QColor(Qt::blue));
    EXPECT_EQ(centreOf(trashIcon(true)), QColor(Qt::yellow));
    EXPECT_EQ(centreOf(qIcon(icons.appIcon(themes.entry("uxterm")))), QColor(Qt::green));
}

// An application installed while the program runs puts its entry, and its icon into a
// folder of hicolor there from the start: its tiles, which ask for its icon again as its
// window opens, show the icon.
TEST(QtIcons, AnIconInstalledWhileTheProgramRunsShows) {
    TestThemes themes("quillbern-installed");
    const fs::path apps =
        themes.theme("hicolor", "Directories=48x48/apps\n[48x48/apps]\nSize=48\n", {"48x48/apps"}) / "48x48/apps";
    QIcon::setThemeName(QStringLiteral("hicolor"));
    QIcon::setFallbackThemeName({});
    const QtIcons icons;
    waitForPictures();
    // What a tile shows of the entry once asked again within that long, as a window's opening asks.
    const auto shownWithin = [&icons](const std::string& entry, std::chrono::milliseconds wait) {
        const auto until = std::chrono::steady_clock::now() + wait;
        ImageHandle image = icons.appIcon(entry);
        while (!image && std::chrono::steady_clock::now() < until) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            image = icons.appIcon(entry);
        }
        return image ? centreOf(qIcon(image)) : QColor();
    };

    int changes = 0;
    const Subscription told = icons.onChanged([&changes] { ++changes; });
    const auto toldWithin = [&changes](std::chrono::milliseconds wait) {
        const int before = changes;
        const auto until = std::chrono::steady_clock::now() + wait;
        while (changes == before && std::chrono::steady_clock::now() < until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return changes > before;
    };

    TestThemes::picture(apps / "installed.png", 48, Qt::red);
    EXPECT_EQ(shownWithin(themes.entry("installed"), std::chrono::seconds(3)), QColor(Qt::red));
    EXPECT_GT(changes, 0) << "its tiles are told to ask again";

    // The catalogue tells of an entry whose icon lands a moment after it.
    const std::string later = themes.entry("later");
    lookForInstalledIcons();
    ASSERT_TRUE(toldWithin(std::chrono::seconds(1)));
    EXPECT_EQ(icons.appIcon(later), nullptr);
    TestThemes::picture(apps / "later.png", 48, Qt::blue);
    ASSERT_TRUE(toldWithin(std::chrono::seconds(2))) << "the themes are looked at again a moment later";
    EXPECT_EQ(centreOf(qIcon(icons.appIcon(later))), QColor(Qt::blue));
}

// Qt searches only the icons folders there at its start; the user's own may be made by the
// first application installed.
TEST(QtIcons, IconFoldersMadeLaterAreSearchedInTheirPlace) {
    TestThemes themes("quillbern-folders-made-later");
    ScopedEnvironment environment;
    const auto folder = [&themes](const char* name) { return QString::fromStdString((themes.dir / name).string()); };
    environment.set("XDG_DATA_HOME", (themes.dir / "home").string());
    environment.set("XDG_DATA_DIRS", (themes.dir / "system").string() + ":" + themes.dir.string());
    // As the desktop's XDG_DATA_DIRS may write it.
    const QString searched = folder("icons") + QLatin1Char('/');
    QIcon::setThemeSearchPaths({searched, QStringLiteral(":/icons")});
    searchIconFoldersMadeLater();
    EXPECT_EQ(QIcon::themeSearchPaths(),
              (QStringList{folder("home/icons"), folder("system/icons"), searched, QStringLiteral(":/icons")}));
}

TEST(QtIcons, AnEntryNamingAnIconNoThemeHasHasNoPictureOfItsOwn) {
    const RedEntry entry;
    const QtIcons icons;
    waitForPictures();
    EXPECT_EQ(icons.appIcon((entry.dir / "plain.desktop").string()), nullptr);
    EXPECT_EQ(icons.runningAppIcon(1), nullptr) << "no window system to ask";
}

// A theme with none of the names the program asks for, as KDE names Breeze where it is not
// installed: every symbol is still a picture of its own, none the question mark of a name the
// program does not know.
TEST(Symbols, WhereTheThemeLacksTheirNamesEverySymbolIsThePrograms) {
    const fs::path dir = fs::temp_directory_path() / ("quillbern-no-symbols-" + std::to_string(::getpid()));
    fs::create_directories(dir / "breeze" / "16x16");
    std::ofstream(dir / "breeze" / "index.theme")
        << "[Icon Theme]\nName=Breeze\nDirectories=16x16\n\n[16x16]\nSize=16\nType=Fixed\n";
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QStringList fallbackPaths = QIcon::fallbackSearchPaths();
    const QString themeName = QIcon::themeName();
    const QString fallbackName = QIcon::fallbackThemeName();
    QIcon::setThemeSearchPaths({QString::fromStdString(dir.string())});
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName(QStringLiteral("breeze"));
    QIcon::setFallbackThemeName({});

    // Each chosen once the themes have answered.
    for (const std::string_view symbol : everySymbol())
        symbolIcon(symbol).pixmap(24, 24);
    waitForPictures();
    const auto drawn = [](std::string_view symbol) {
        QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintSymbol(painter, QRectF(0, 0, 24, 24), symbol, QColor(Qt::black));
        return image;
    };
    QImage nothing(24, 24, QImage::Format_ARGB32_Premultiplied);
    nothing.fill(Qt::transparent);
    const QImage unknown = drawn("no.such.symbol");
    EXPECT_NE(unknown, nothing);
    for (const std::string_view symbol : everySymbol()) {
        const QImage image = drawn(symbol);
        EXPECT_NE(image, nothing) << symbol;
        if (symbol != "questionmark.app.dashed") {
            EXPECT_NE(image, unknown) << symbol;
        }
    }
    QIcon::setThemeName(themeName);
    QIcon::setFallbackThemeName(fallbackName);
    QIcon::setFallbackSearchPaths(fallbackPaths);
    QIcon::setThemeSearchPaths(searchPaths);
    fs::remove_all(dir);
}

// A symbol is one picture while the desktop's themes stay: nothing until its picture has been
// read, then the theme's, however pictures come and go from the cache; other themes choose again.
TEST(Symbols, ASymbolKeepsThePictureChosenUntilTheThemesChange) {
    TestThemes themes("quillbern-steady-symbols");
    const fs::path red = themes.theme("red", "Directories=24\n[24]\nSize=24\n", {"24"});
    TestThemes::picture(red / "24" / "list-add-symbolic.png", 24, Qt::red);
    TestThemes::picture(red / "24" / "large.png", 512, Qt::green);
    const fs::path blue = themes.theme("blue", "Directories=24\n[24]\nSize=24\n", {"24"});
    TestThemes::picture(blue / "24" / "list-add-symbolic.png", 24, Qt::blue);
    QIcon::setThemeName(QStringLiteral("red"));
    QIcon::setFallbackThemeName({});

    const QIcon plus = symbolIcon("plus");
    const QImage first = plus.pixmap(24, 24).toImage();
    const QImage chosen = arrivedPicture(plus, QSize(24, 24));
    EXPECT_EQ(chosen.pixelColor(12, 12), QColor(Qt::red));
    EXPECT_TRUE(first.isNull() || first == chosen) << "the program's own picture before the theme's";

    // Larger pictures push it out of the cache that pictures from outside share.
    const QIcon large = themeIcon({QStringLiteral("large")}, {});
    for (int side = 440; side <= 510; side += 10)
        large.pixmap(side, side);
    waitForPictures();
    QPixmap yellow(24, 24);
    yellow.fill(Qt::yellow);
    ASSERT_EQ(
        themeIcon({QStringLiteral("list-add-symbolic")}, QIcon(yellow)).pixmap(24, 24).toImage().pixelColor(12, 12),
        QColor(Qt::yellow));
    EXPECT_EQ(plus.pixmap(24, 24).toImage().pixelColor(12, 12), QColor(Qt::red));

    QIcon::setThemeName(QStringLiteral("blue"));
    EXPECT_EQ(arrivedPicture(plus, QSize(24, 24)).pixelColor(12, 12), QColor(Qt::blue));
}

// A theme's picture stands for a symbol only where its name means what the symbol shows (no
// desktop folder for a dock, no check box for a corner, no sun for focus mode), and two
// symbols of one page never take one name, so their rows never look alike.
TEST(Symbols, NoThemeNameStandsForTwoSymbolsOfAPageNorForAThingItDoesNotMean) {
    const QStringList misfits{
        "checkbox-symbolic",           "user-desktop-symbolic",    "user-desktop",       "weather-clear-symbolic",
        "display-brightness-symbolic", "view-dual-symbolic",       "view-grid-symbolic", "view-fullscreen-symbolic",
        "audio-x-generic-symbolic",    "system-shutdown-symbolic", "emblem-favorite",    "web-browser-symbolic"};
    for (const std::string_view symbol : everySymbol()) {
        for (const QString& name : themeNamesOfSymbol(symbol))
            EXPECT_FALSE(misfits.contains(name)) << symbol << " takes " << name.toStdString();
    }

    std::map<std::string, std::vector<std::string>> pages{
        {"General",
         {"eye.slash",
          "timer",
          "hare",
          "tortoise",
          "metronome",
          "rays",
          "power",
          "dock.rectangle",
          "command.square",
          "rectangle.split.3x1",
          "magnifyingglass",
          "folder",
          "circle.dashed.inset.filled",
          "rectangle.grid.2x2",
          "keyboard",
          "eye",
          "arrow.uturn.backward",
          "globe",
          "arrow.triangle.2.circlepath",
          "info.circle",
          "exclamationmark.triangle",
          "xmark.octagon"}},
        {"Docks",
         {"square.stack.3d.up",
          "plus",
          "minus",
          "exclamationmark.triangle",
          "arrow.uturn.backward",
          "display",
          "command.square",
          "rectangle.dashed",
          "arrow.left.and.right.righttriangle.left.righttriangle.right",
          "macwindow.on.rectangle",
          "hand.tap",
          "doc.on.doc",
          "checkmark",
          "magnifyingglass",
          "xmark.circle.fill",
          "plus.circle.fill",
          "pin",
          "folder.badge.plus",
          "trash",
          "questionmark.app.dashed",
          "app.dashed",
          "minus.circle",
          "minus.circle.fill",
          "rectangle.bottomthird.inset.filled",
          "rectangle.topthird.inset.filled",
          "rectangle.leftthird.inset.filled",
          "rectangle.rightthird.inset.filled",
          "info.circle",
          "xmark.octagon"}},
        {"Appearance",
         {"square.resize", "rectangle.roundedtop", "circle.bottomrighthalf.pattern.checkered", "drop.halffull",
          "textformat", "circle.dashed.inset.filled", "circle.lefthalf.filled"}},
        {"Permissions", {"accessibility", "checkmark.circle.fill"}},
        {"Support and About",
         {"bubble.left.and.text.bubble.right", "doc.on.clipboard", "envelope", "globe", "person.crop.circle",
          "hand.raised", "arrow.triangle.2.circlepath"}},
        {"Walkthrough",
         {"display", "square.stack.3d.up.fill", "photo.on.rectangle.angled", "slider.horizontal.3",
          "checkmark.circle.fill", "exclamationmark.triangle", "xmark.octagon"}},
    };
    for (const SettingsSectionInfo& section : settingsSections())
        pages["sidebar"].emplace_back(section.symbol);
    for (const HelpCard& card : HelpContent::featureCards())
        pages["Help"].push_back(card.symbol);
    pages["Help"].push_back(HelpContent::walkthroughCard().symbol);
    for (const auto& [page, symbols] : pages) {
        std::map<QString, std::string> takenBy;
        for (const std::string& symbol : symbols) {
            for (const QString& name : themeNamesOfSymbol(symbol)) {
                const auto [taken, first] = takenBy.try_emplace(name, symbol);
                EXPECT_TRUE(first || taken->second == symbol)
                    << page << ": " << symbol << " and " << taken->second << " take " << name.toStdString();
            }
        }
    }
}

TEST(QtIcons, AWindowsPictureComesInEverySizeItOffers) {
    const auto square = [](int side, std::uint8_t green) {
        PixelBuffer pixels{side, side, {}};
        for (int i = 0; i < side * side; ++i)
            pixels.rgbaPremultiplied.insert(pixels.rgbaPremultiplied.end(), {0, green, 0, 255});
        return pixels;
    };
    std::vector<Pid> asked;
    const QtIcons icons([&](Pid pid) {
        asked.push_back(pid);
        return pid == 7 ? std::vector<PixelBuffer>{square(16, 100), square(48, 200)} : std::vector<PixelBuffer>{};
    });
    EXPECT_EQ(icons.runningAppIcon(8), nullptr);
    const QIcon icon = qIcon(icons.runningAppIcon(7));
    EXPECT_EQ(icon.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(0, 100, 0)) << "the small picture when small";
    EXPECT_EQ(icon.pixmap(48, 48).toImage().pixelColor(24, 24), QColor(0, 200, 0));
    EXPECT_EQ(asked, (std::vector<Pid>{8, 7}));
}

TEST(LaunchBeaconView, DrawsThemeIconsAsTheDockDoes) {
    const RedEntry entry;
    BeaconContent content;
    content.tiles = {{"red", "Red", QtIcons().appIcon((entry.dir / "red.desktop").string()), true}};
    content.tileSize = 60;
    content.cornerRadius = 13;
    content.accent = {0, 0, 1, 1};
    SimClock clock;
    ManualRunLoop loop{clock};
    // Qt paints outside the loop's turns, on the thread the loop lives on.
    loop.setIsMainLoop(true);
    FrameClock frames(loop, clock);
    LaunchBeaconView view(content, frames, nullptr);
    const int side = static_cast<int>(2 * beacon::kMargin + beacon::ringBox(60));
    view.resize(side, side);
    view.grab();
    waitForPictures();
    const QImage drawn = view.grab().toImage();
    const QPoint centre(view.width() / 2, view.height() / 2);
    EXPECT_EQ(drawn.pixelColor(centre), QColor(Qt::red));
}
