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
