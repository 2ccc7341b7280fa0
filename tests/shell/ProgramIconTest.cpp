// The program's icon, from the theme once installed, else the copy built into the program.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/PicturesArrived.h"
#include "support/ProgramsPictureReader.h"
#include "ui/shell/ProgramIcon.h"

namespace quillbern {
namespace {

class ProgramIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        paths_ = QIcon::themeSearchPaths();
        theme_ = QIcon::themeName();
        QIcon::setThemeSearchPaths({themes_.path()});
        QIcon::setThemeName(QStringLiteral("plain"));
        writeTheme(themes_);
    }
    void TearDown() override {
        QIcon::setThemeSearchPaths(paths_);
        QIcon::setThemeName(theme_);
    }
    static void writeTheme(const QTemporaryDir& themes) {
        QDir(themes.path()).mkpath(QStringLiteral("plain/64x64/apps"));
        QFile index(themes.path() + QStringLiteral("/plain/index.theme"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=plain\nDirectories=64x64/apps\n\n[64x64/apps]\nSize=64\nType=Fixed\n");
    }
    static QImage pictureOf(const QIcon& icon) { return arrivedPicture(icon, QSize(64, 64)); }

    QTemporaryDir themes_;
    QStringList paths_;
    QString theme_;
};

TEST_F(ProgramIconTest, TheBuiltInIconStandsInUntilTheThemeHasTheInstalledOne) {
    // From the build tree: the built-in picture, a blue tile with rounded corners.
    const QImage builtIn = pictureOf(programIcon());
    ASSERT_FALSE(builtIn.isNull());
    EXPECT_EQ(builtIn.pixelColor(0, 0).alpha(), 0);
    const QColor middle = builtIn.pixelColor(15, 30);
    EXPECT_EQ(middle.alpha(), 255);
    EXPECT_GT(middle.blue(), middle.red() + 40);

    // Installed: the theme's.
    if (!kReadsOutsidePictures) GTEST_SKIP() << "this build reads no picture from outside";
    const QTemporaryDir installedThemes;
    writeTheme(installedThemes);
    QImage installed(64, 64, QImage::Format_ARGB32);
    installed.fill(Qt::red);
    ASSERT_TRUE(installed.save(installedThemes.path() + QStringLiteral("/plain/64x64/apps/quillbern.png")));
    QIcon::setThemeSearchPaths({installedThemes.path()});
    EXPECT_EQ(pictureOf(programIcon()).pixelColor(15, 30), QColor(Qt::red));
}

}  // namespace
}  // namespace quillbern
