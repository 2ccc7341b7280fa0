#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "ui/foundation/QtIcons.h"

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
    const QImage drawn = qIcon(image).pixmap(16, 16).toImage();
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
        return qIcon(icons.fileIcon(path.string())).pixmap(16, 16).toImage().pixelColor(8, 8);
    };
    EXPECT_EQ(colourOf(dir / "files"), QColor(Qt::red));
    EXPECT_EQ(colourOf(dir / "files" / "album.png"), QColor(Qt::red)) << "a folder, whatever its name";
    EXPECT_EQ(colourOf(dir / "files" / "photo.png"), QColor(Qt::green)) << "by its name";
    EXPECT_EQ(colourOf(dir / "files" / "caf\xE9.png"), QColor(Qt::green));
    EXPECT_EQ(colourOf(dir / "files" / "notes.unknown-kind"), QColor(Qt::blue));
    QIcon::setThemeName(themeName);
    QIcon::setThemeSearchPaths(searchPaths);
    fs::remove_all(dir);
}
