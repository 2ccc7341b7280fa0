#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "linux/freedesktop/LinuxThumbnailer.h"
#include "support/ScopedEnvironment.h"

namespace quillbern {
namespace {

namespace fs = std::filesystem;

// A folder of pictures and a thumbnail cache of the test's own.
class LinuxThumbnails : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / ("quillbern-thumbs-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(root);
        fs::create_directories(root / "files");
        environment.set("XDG_CACHE_HOME", (root / "cache").string());
    }
    void TearDown() override { fs::remove_all(root); }

    Path picture(const std::string& name, QSize size, QColor colour, const char* format = "png") const {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const Path path = (root / "files" / name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), format));
        return path;
    }
    static std::string uri(const Path& path) { return "file://" + path; }
    static std::string mtime(const Path& path) {
        struct stat facts;
        ::stat(path.c_str(), &facts);
        return std::to_string(facts.st_mtim.tv_sec);
    }
    // Text chunks are plain bytes in the file; Qt's reader cannot give keys with colons back.
    static std::string contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static QColor centre(const ImageHandle& image) {
        const PixelBuffer& pixels = *image->pixels;
        const std::size_t at = (static_cast<std::size_t>(pixels.height / 2) * pixels.width + pixels.width / 2) * 4;
        return QColor(pixels.rgbaPremultiplied[at], pixels.rgbaPremultiplied[at + 1], pixels.rgbaPremultiplied[at + 2]);
    }
    // Puts a picture in the cache as another program would.
    void store(const Path& file, const std::string& folder, QColor colour, const std::string& storedMtime) const {
        QImage image(QSize(128, 96), QImage::Format_RGB32);
        image.fill(colour);
        image.setText("Thumb::URI", QString::fromStdString(uri(file)));
        image.setText("Thumb::MTime", QString::fromStdString(storedMtime));
        const std::string path = LinuxThumbnailer::cacheFile(folder, uri(file));
        fs::create_directories(fs::path(path).parent_path());
        ASSERT_TRUE(image.save(QString::fromStdString(path), "png"));
    }

    fs::path root;
    ScopedEnvironment environment;
    LinuxThumbnailer thumbnailer;
};

TEST_F(LinuxThumbnails, AnImageIsScaledToTheSideAndStoredForOtherReaders) {
    const Path photo = picture("photo.jpg", {1200, 800}, QColor(200, 30, 30), "jpg");
    const ImageHandle made = thumbnailer.thumbnail(photo, 128);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->widthPx, 128);
    EXPECT_EQ(made->heightPx, 85) << "its proportions kept";
    EXPECT_NEAR(centre(made).red(), 200, 12);

    const std::string stored = LinuxThumbnailer::cacheFile("normal", uri(photo));
    ASSERT_TRUE(fs::exists(stored)) << stored;
    EXPECT_EQ(stored.substr(stored.rfind('/') + 1).size(), 32u + 4u) << "named by the MD5 of its URI";
    EXPECT_NE(contents(stored).find("Thumb::MTime" + std::string(1, '\0') + mtime(photo)), std::string::npos);
    EXPECT_EQ(QImageReader(QString::fromStdString(stored)).size(), QSize(128, 85));
    EXPECT_EQ(fs::status(stored).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
        << "what the user opened is the user's alone";
    EXPECT_EQ(fs::status(fs::path(stored).parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
    // Nothing but the picture itself was left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(stored).parent_path()), fs::directory_iterator()), 1);

    // Other content under the same change time: the stored picture answers, so its keys read back.
    const auto when = fs::last_write_time(photo);
    picture("photo.jpg", {1200, 800}, QColor(30, 200, 30), "jpg");
    fs::last_write_time(photo, when);
    EXPECT_NEAR(centre(thumbnailer.thumbnail(photo, 128)).red(), 200, 12);
}

TEST_F(LinuxThumbnails, APictureOfOneBitAPixelKeepsItsColoursScaledAndStored) {
    // Flat pictures are often saved with a palette of two colours, one bit a pixel.
    QImage flat(QSize(480, 640), QImage::Format_Mono);
    flat.setColorTable({qRgb(60, 157, 93), qRgb(0, 0, 0)});
    flat.fill(0);
    const Path path = (root / "files" / "forest.png").string();
    ASSERT_TRUE(flat.save(QString::fromStdString(path), "png"));

    const ImageHandle made = thumbnailer.thumbnail(path, 64);
    ASSERT_TRUE(made);
    EXPECT_EQ(centre(made), QColor(60, 157, 93));
    const QImage stored(QString::fromStdString(LinuxThumbnailer::cacheFile("normal", uri(path))));
    ASSERT_EQ(stored.size(), QSize(96, 128));
    for (const QPoint at : {QPoint(0, 0), QPoint(47, 63), QPoint(95, 127)})
        EXPECT_EQ(stored.pixelColor(at), QColor(60, 157, 93)) << "other programs read what we stored";
}

TEST_F(LinuxThumbnails, AStoredThumbnailIsUsedOnlyWhileItMatchesTheFile) {
    const Path photo = picture("photo.png", {300, 300}, QColor(30, 30, 200));
    store(photo, "normal", QColor(30, 200, 30), mtime(photo));
    const ImageHandle hit = thumbnailer.thumbnail(photo, 64);
    ASSERT_TRUE(hit);
    EXPECT_NEAR(centre(hit).green(), 200, 4) << "the cache's picture, not one made from the file";
    EXPECT_EQ(hit->widthPx, 64);
    EXPECT_EQ(hit->heightPx, 48);

    // The file changed since: the stored picture no longer counts and a new one replaces it.
    store(photo, "normal", QColor(30, 200, 30), std::to_string(std::stoll(mtime(photo)) - 60));
    const ImageHandle fresh = thumbnailer.thumbnail(photo, 64);
    ASSERT_TRUE(fresh);
    EXPECT_NEAR(centre(fresh).blue(), 200, 4);
    EXPECT_NE(contents(LinuxThumbnailer::cacheFile("normal", uri(photo)))
                  .find("Thumb::MTime" + std::string(1, '\0') + mtime(photo)),
              std::string::npos);
}

TEST_F(LinuxThumbnails, ALargerStoredSizeServesWhenTheRightOneIsMissing) {
    const Path document = (root / "files" / "report.pdf").string();
    std::ofstream(document) << "%PDF-1.4 not a picture Qt reads";
    EXPECT_FALSE(thumbnailer.thumbnail(document, 128)) << "a type Qt cannot read has none of its own";
    store(document, "large", QColor(200, 200, 30), mtime(document));
    const ImageHandle stored = thumbnailer.thumbnail(document, 128);
    ASSERT_TRUE(stored) << "another program's thumbnail";
    EXPECT_NEAR(centre(stored).red(), 200, 4);
}

TEST_F(LinuxThumbnails, FoldersMissingFilesAndTheCacheItselfHaveNone) {
    EXPECT_FALSE(thumbnailer.thumbnail((root / "files").string(), 128));
    EXPECT_FALSE(thumbnailer.thumbnail((root / "files" / "gone.png").string(), 128));
    const Path photo = picture("photo.png", {300, 300}, QColor(30, 30, 200));
    ASSERT_TRUE(thumbnailer.thumbnail(photo, 128));
    const std::string stored = LinuxThumbnailer::cacheFile("normal", uri(photo));
    EXPECT_FALSE(thumbnailer.thumbnail(stored, 128));
}

}  // namespace
}  // namespace quillbern
