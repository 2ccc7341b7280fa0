#include <unistd.h>
#include <zlib.h>

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "picture/PictureReading.h"
#include "support/FifoWatch.h"

namespace quillbern {
namespace {

namespace fs = std::filesystem;

constexpr int kSide = 64;
constexpr qint64 kMostBytes = 64 << 20;

QImage read(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readPicture(buffer, kSide, kMostBytes);
}

QImage readFile(const fs::path& path) {
    QFile file(QString::fromStdString(path.string()));
    file.open(QIODevice::ReadOnly);
    return readPicture(file, kSide, kMostBytes);
}

// A red square under whatever else the picture holds.
QByteArray svg(const QByteArray& body, const QByteArray& prologue = {}) {
    return prologue +
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"64\" "
           "height=\"64\"><rect id=\"r\" width=\"64\" height=\"64\" fill=\"red\"/>" +
           body + "</svg>";
}

QByteArray image(const QByteArray& address) {
    return "<image x=\"0\" y=\"0\" width=\"64\" height=\"64\" xlink:href=\"" + address + "\"/>";
}

QByteArray png(QSize size, QColor colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "png");
    return bytes;
}

// The PNG with a header that claims the size, under the sum that makes it a header to trust.
QByteArray claimingSize(QByteArray png, int side) {
    for (const int at : {16, 20}) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char(std::uint32_t(side) >> (24 - 8 * i));
    }
    const uLong sum = crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17);
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(sum >> (24 - 8 * i));
    return png;
}

QByteArray gzipped(const QByteArray& text) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray packed(qsizetype(deflateBound(&stream, uLong(text.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.constData()));
    stream.avail_in = uInt(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return packed;
}

bool isRed(const QImage& picture) {
    return !picture.isNull() && picture.pixelColor(picture.width() / 2, picture.height() / 2) == QColor(Qt::red);
}

class PictureReading : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("quillbern-pictures-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

// Qt's SVG reader opens what an `<image>` names by itself, waiting on a FIFO for ever and
// decoding any picture in full: a picture draws only what its file holds.
TEST_F(PictureReading, AnSvgDrawsOnlyWhatItsFileHolds) {
    FifoWatch fifo((dir / "fifo.png").string());
    const QByteArray large = png({2000, 2000}, Qt::blue);
    std::ofstream(dir / "large.png", std::ios::binary) << large.toStdString();
    const QByteArray fifoPath = QByteArray::fromStdString(fifo.path());
    const QByteArray largePath = QByteArray::fromStdString((dir / "large.png").string());

    ASSERT_TRUE(isRed(read(svg({}))));
    EXPECT_TRUE(isRed(read(svg("<use xlink:href=\"#r\"/>")))) << "its own parts";
    EXPECT_TRUE(read(svg(image(fifoPath))).isNull()) << "a FIFO";
    EXPECT_TRUE(read(svg(image(largePath).repeated(40))).isNull()) << "forty pictures of 16 MB each";
    for (const QByteArray& address : {" " + largePath, "file://" + largePath, QByteArray("large.png")})
        EXPECT_TRUE(read(svg(image(address))).isNull()) << address.constData();
    EXPECT_TRUE(read(svg("<image width=\"9\" height=\"9\" href=\"" + largePath + "\"/>")).isNull());
    EXPECT_TRUE(read(svg(image("&hidden;"), "<!DOCTYPE svg [<!ENTITY hidden \"" + fifoPath + "\">]>")).isNull())
        << "an entity, expanded as Qt expands it";
    EXPECT_TRUE(read(svg({}, "<?xml-stylesheet type=\"text/css\" href=\"" + fifoPath + "\"?>")).isNull());
    // Beside a file, a relative name is taken from the file's folder: the thumbnails' way.
    std::ofstream(dir / "beside.svg") << svg(image("fifo.png")).toStdString();
    EXPECT_TRUE(readFile(dir / "beside.svg").isNull());
    std::ofstream(dir / "plain.svg") << svg({}).toStdString();
    EXPECT_TRUE(isRed(readFile(dir / "plain.svg")));

    // A picture inside the file is the file's, within the bound of what it decodes to.
    const auto embedded = [](const QByteArray& picture) {
        return image("data:image/png;base64," + picture.toBase64());
    };
    const QImage green = read(svg(embedded(png({8, 8}, Qt::green))));
    EXPECT_EQ(green.pixelColor(32, 32), QColor(Qt::green));
    EXPECT_TRUE(read(svg(embedded(claimingSize(png({8, 8}, Qt::green), 30000)))).isNull());
    EXPECT_TRUE(read(svg(embedded(png({2000, 2000}, Qt::green)).repeated(5))).isNull()) << "80 MB together";
    EXPECT_TRUE(read(svg(embedded(svg(image(fifoPath))))).isNull()) << "an SVG in an SVG names what it likes";
    EXPECT_EQ(fifo.opens(), 0);
}

// Qt's SVG reader inflates a compressed file as far as it goes: 1 MB became 1 GB.
TEST_F(PictureReading, ACompressedSvgInflatesNoFurtherThanAnyPictureFile) {
    EXPECT_TRUE(isRed(read(gzipped(svg({})))));
    const QByteArray past = svg("<!--" + QByteArray(9 << 20, 'x') + "-->");
    EXPECT_TRUE(read(gzipped(past)).isNull()) << "9 MB of text";
    EXPECT_TRUE(read(gzipped(svg(image(QByteArray::fromStdString((dir / "any.png").string()))))).isNull())
        << "the text inflated is checked as any SVG";
    std::ofstream(dir / "packed.svgz", std::ios::binary) << gzipped(svg({})).toStdString();
    EXPECT_TRUE(isRed(readFile(dir / "packed.svgz")));
    const QByteArray whole = gzipped(svg({}));
    EXPECT_TRUE(read(whole.left(whole.size() / 2)).isNull()) << "cut short";
}

}  // namespace
}  // namespace quillbern
