#include <unistd.h>
#include <zlib.h>

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <vector>

#include "linux/freedesktop/LinuxThumbnailer.h"
#include "linux/process/PictureReaderProcess.h"
#include "picture/PictureReading.h"
#include "picture/ThumbnailReading.h"
#include "sim/SimPictureReader.h"
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

    ImageHandle thumbnailOf(const Path& file, int sidePx) const {
        return thumbnailer.thumbnail(file, sidePx, 10).image;
    }

    fs::path root;
    ScopedEnvironment environment;
    LinuxThumbnailer thumbnailer{
        std::make_unique<PictureReaderProcess>(ReaderProgram::at(QUILLBERN_PICTURE_READER), "thumbnails")};
};

TEST_F(LinuxThumbnails, AnImageIsScaledToTheSideAndStoredForOtherReaders) {
    const Path photo = picture("photo.jpg", {1200, 800}, QColor(200, 30, 30), "jpg");
    const ImageHandle made = thumbnailOf(photo, 128);
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
    EXPECT_NEAR(centre(thumbnailOf(photo, 128)).red(), 200, 12);
}

TEST_F(LinuxThumbnails, APictureOfOneBitAPixelKeepsItsColoursScaledAndStored) {
    // Flat pictures are often saved with a palette of two colours, one bit a pixel.
    QImage flat(QSize(480, 640), QImage::Format_Mono);
    flat.setColorTable({qRgb(60, 157, 93), qRgb(0, 0, 0)});
    flat.fill(0);
    const Path path = (root / "files" / "forest.png").string();
    ASSERT_TRUE(flat.save(QString::fromStdString(path), "png"));

    const ImageHandle made = thumbnailOf(path, 64);
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
    const ImageHandle hit = thumbnailOf(photo, 64);
    ASSERT_TRUE(hit);
    EXPECT_NEAR(centre(hit).green(), 200, 4) << "the cache's picture, not one made from the file";
    EXPECT_EQ(hit->widthPx, 64);
    EXPECT_EQ(hit->heightPx, 48);

    // The file changed since: the stored picture no longer counts and a new one replaces it.
    store(photo, "normal", QColor(30, 200, 30), std::to_string(std::stoll(mtime(photo)) - 60));
    const ImageHandle fresh = thumbnailOf(photo, 64);
    ASSERT_TRUE(fresh);
    EXPECT_NEAR(centre(fresh).blue(), 200, 4);
    EXPECT_NE(contents(LinuxThumbnailer::cacheFile("normal", uri(photo)))
                  .find("Thumb::MTime" + std::string(1, '\0') + mtime(photo)),
              std::string::npos);
}

// Compressed text chunks, one for each key, whose values are `megabytes` of one letter.
std::string compressedTextChunks(const std::vector<std::string>& keys, int megabytes) {
    std::string packed;
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    std::string block(1 << 20, 'a');
    char out[1 << 16];
    for (int i = 0; i < megabytes; ++i) {
        stream.next_in = reinterpret_cast<Bytef*>(block.data());
        stream.avail_in = static_cast<uInt>(block.size());
        const int flush = i + 1 == megabytes ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out);
            stream.avail_out = sizeof out;
            deflate(&stream, flush);
            packed.append(out, sizeof out - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    const auto bigEndian = [](std::uint32_t value) {
        std::string bytes;
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((value >> shift) & 0xFF);
        return bytes;
    };
    std::string chunks;
    for (const std::string& key : keys) {
        const std::string body = "zTXt" + key + std::string(2, '\0') + packed;
        const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(body.data()), body.size());
        chunks += bigEndian(std::uint32_t(body.size() - 4)) + body + bigEndian(std::uint32_t(crc));
    }
    return chunks;
}

// Puts the chunks into the PNG file at `path`, after its header and ahead of its own texts.
void insertChunks(const std::string& path, const std::string& chunks) {
    std::ifstream in(path, std::ios::binary);
    std::string png((std::istreambuf_iterator<char>(in)), {});
    // 8 bytes of signature, 25 of the header chunk.
    png.insert(33, chunks);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << png;
}

// The most memory the process held since the last call, in megabytes; none where the
// kernel does not tell.
std::optional<long> peakMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    long kilobytes = -1;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:")) kilobytes = std::stol(line.substr(6));
    if (!std::ofstream("/proc/self/clear_refs").write("5", 1) || kilobytes < 0) return std::nullopt;
    return kilobytes / 1024;
}

// Any program of the user may write the cache, and any download bring a picture: texts that
// inflate to far more than their file are read no further than a value must be compared.
TEST_F(LinuxThumbnails, TextsThatInflateFarAreNotInflated) {
    std::vector<std::string> keys;
    for (int i = 0; i < 24; ++i)
        keys.push_back("Comment" + std::to_string(i));
    // Each as large as the PNG library inflates a text.
    const std::string comments = compressedTextChunks(keys, 7);
    const std::string cachedUri = compressedTextChunks({"Thumb::URI"}, 7);
    const Path photo = picture("photo.png", {300, 300}, QColor(30, 30, 200));
    store(photo, "normal", QColor(30, 200, 30), mtime(photo));
    insertChunks(LinuxThumbnailer::cacheFile("normal", uri(photo)), comments + cachedUri);
    const auto when = fs::last_write_time(photo);
    insertChunks(photo, comments);
    fs::last_write_time(photo, when);
    ASSERT_LT(fs::file_size(photo), 1u << 20);

    // What the reader does with them, here, where its memory can be told.
    const QByteArray stored = QByteArray::fromStdString(contents(LinuxThumbnailer::cacheFile("normal", uri(photo))));
    QBuffer picture;
    picture.setData(QByteArray::fromStdString(contents(photo)));
    picture.open(QIODevice::ReadOnly);
    const std::optional<long> before = peakMegabytes();
    EXPECT_TRUE(cachedThumbnail(stored, uri(photo), mtime(photo)).isNull())
        << "the first Thumb::URI, cut, matches nothing";
    EXPECT_FALSE(readPicture(picture, 64, kMostPictureBytes).isNull());
    const std::optional<long> during = peakMegabytes();

    const ImageHandle made = thumbnailOf(photo, 64);
    ASSERT_TRUE(made);
    EXPECT_NEAR(centre(made).blue(), 200, 4) << "made from the picture, not the stored one";
    if (!before || !during) GTEST_SKIP() << "the kernel does not tell the memory a process held";
    EXPECT_LT(*during - *before, 50) << "megabytes held while reading";
}

TEST_F(LinuxThumbnails, ALargerStoredSizeServesWhenTheRightOneIsMissing) {
    const Path document = (root / "files" / "report.pdf").string();
    std::ofstream(document) << "%PDF-1.4 not a picture Qt reads";
    EXPECT_FALSE(thumbnailOf(document, 128)) << "a type Qt cannot read has none of its own";
    store(document, "large", QColor(200, 200, 30), mtime(document));
    const ImageHandle stored = thumbnailOf(document, 128);
    ASSERT_TRUE(stored) << "another program's thumbnail";
    EXPECT_NEAR(centre(stored).red(), 200, 4);
}

TEST_F(LinuxThumbnails, FoldersMissingFilesAndTheCacheItselfHaveNone) {
    EXPECT_FALSE(thumbnailOf((root / "files").string(), 128));
    EXPECT_FALSE(thumbnailOf((root / "files" / "gone.png").string(), 128));
    const Path photo = picture("photo.png", {300, 300}, QColor(30, 30, 200));
    ASSERT_TRUE(thumbnailOf(photo, 128));
    const std::string stored = LinuxThumbnailer::cacheFile("normal", uri(photo));
    EXPECT_FALSE(thumbnailOf(stored, 128));
}

// Anyone may put links in the cache: what they point to keeps its contents and its rights.
TEST_F(LinuxThumbnails, LinksInTheCacheAreReplacedNeverWrittenThrough) {
    const Path photo = picture("photo.png", {300, 300}, QColor(30, 30, 200));
    const fs::path shared = root / "shared";
    fs::create_directories(shared);
    fs::permissions(shared, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    fs::create_directories(root / "cache" / "thumbnails");
    fs::create_directory_symlink(shared, root / "cache" / "thumbnails" / "normal");
    const fs::path own = root / "own.txt";
    std::ofstream(own) << "mine";
    const fs::path stored = LinuxThumbnailer::cacheFile("normal", uri(photo));
    fs::create_symlink(own, stored);

    ASSERT_TRUE(thumbnailOf(photo, 128));
    EXPECT_EQ(contents(own.string()), "mine");
    EXPECT_EQ(fs::symlink_status(stored).type(), fs::file_type::regular);
    EXPECT_EQ(fs::status(shared).permissions() & fs::perms::all, fs::perms::owner_all | fs::perms::group_read |
                                                                     fs::perms::group_exec | fs::perms::others_read |
                                                                     fs::perms::others_exec);
}

// What the reader did not read in time, or lost, is told as such, for the cache to give up.
TEST_F(LinuxThumbnails, APictureTheReaderGaveUpOrLostIsToldApart) {
    auto script = std::make_unique<SimPictureReader>();
    SimPictureReader& reader = *script;
    const LinuxThumbnailer given(std::move(script));
    const Path slow = picture("slow.png", {300, 300}, QColor(30, 30, 200));
    const Path crashing = picture("crashing.png", {300, 300}, QColor(30, 30, 200));
    reader.setOutcome(slow, PictureRead::Outcome::overran);
    reader.setOutcome(crashing, PictureRead::Outcome::lost);
    EXPECT_EQ(given.thumbnail(slow, 128, 1).outcome, Thumbnail::Outcome::overran);
    EXPECT_EQ(given.thumbnail(crashing, 128, 1).outcome, Thumbnail::Outcome::lost);
    ASSERT_EQ(reader.asked().size(), 2u);
    EXPECT_EQ(reader.asked().front().kind, PictureAsk::Kind::thumbnail);
    EXPECT_EQ(reader.asked().front().sidePx, 128);
    given.rest();
    EXPECT_EQ(reader.rests(), 1);
}

}  // namespace
}  // namespace quillbern
