#include <unistd.h>
#include <zlib.h>

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <cstdint>
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

QByteArray chunk(const QByteArray& type, const QByteArray& data) {
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char(std::uint32_t(data.size()) >> (24 - 8 * i)));
    const QByteArray typed = type + data;
    const uLong sum = crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()));
    bytes += typed;
    for (int i = 0; i < 4; ++i)
        bytes.append(char(sum >> (24 - 8 * i)));
    return bytes;
}

// A zlib stream of the bytes, then of `zeros` zeros, packed a block at a time.
QByteArray packed(const QByteArray& bytes, qint64 zeros = 0) {
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    QByteArray out;
    QByteArray block(1 << 16, '\0');
    const QByteArray nothing(1 << 20, '\0');
    const auto feed = [&](const char* data, qint64 size, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        stream.avail_in = uInt(size);
        do {
            stream.next_out = reinterpret_cast<Bytef*>(block.data());
            stream.avail_out = uInt(block.size());
            deflate(&stream, flush);
            out.append(block.constData(), block.size() - qsizetype(stream.avail_out));
        } while (stream.avail_out == 0);
    };
    feed(bytes.constData(), bytes.size(), Z_NO_FLUSH);
    for (; zeros > 0; zeros -= nothing.size())
        feed(nothing.constData(), std::min<qint64>(zeros, nothing.size()), Z_NO_FLUSH);
    feed(nullptr, 0, Z_FINISH);
    deflateEnd(&stream);
    return out;
}

// A red PNG of RGBA rows made by hand, interlaced or not, whose image data runs on for
// `zeros` more bytes.
QByteArray redPng(int width, int height, bool interlaced, qint64 zeros = 0) {
    const auto rows = [](int w, int h) {
        QByteArray raw;
        for (int y = 0; y < h; ++y) {
            raw.append('\0');
            for (int x = 0; x < w; ++x)
                raw.append("\xff\x00\x00\xff", 4);
        }
        return raw;
    };
    QByteArray raw;
    if (!interlaced) {
        raw = rows(width, height);
    } else {
        static constexpr int kX0[] = {0, 4, 0, 2, 0, 1, 0}, kDx[] = {8, 8, 4, 4, 2, 2, 1};
        static constexpr int kY0[] = {0, 0, 4, 0, 2, 0, 1}, kDy[] = {8, 8, 8, 4, 4, 2, 2};
        for (int pass = 0; pass < 7; ++pass) {
            const int w = (width - kX0[pass] + kDx[pass] - 1) / kDx[pass];
            const int h = (height - kY0[pass] + kDy[pass] - 1) / kDy[pass];
            if (w > 0 && h > 0) raw += rows(w, h);
        }
    }
    QByteArray header;
    for (const int side : {width, height}) {
        for (int i = 0; i < 4; ++i)
            header.append(char(std::uint32_t(side) >> (24 - 8 * i)));
    }
    header.append("\x08\x06\x00\x00", 4).append(char(interlaced ? 1 : 0));
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", packed(raw, zeros)) +
           chunk("IEND", {});
}

// A PNG of that size whose rows are all zeros, cheap to make at any size.
QByteArray emptyPng(int side) {
    QByteArray header;
    for (int twice = 0; twice < 2; ++twice) {
        for (int i = 0; i < 4; ++i)
            header.append(char(std::uint32_t(side) >> (24 - 8 * i)));
    }
    header.append("\x08\x06\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
           chunk("IDAT", packed({}, qint64(side) * (1 + qint64(side) * 4))) + chunk("IEND", {});
}

// An ICO whose one entry's directory says 1 × 1 of the PNG.
QByteArray icoOf(const QByteArray& png) {
    QByteArray ico("\0\0\1\0\1\0\1\1\0\0\1\0\x20\0", 14);
    for (const std::uint32_t value : {std::uint32_t(png.size()), std::uint32_t(22)}) {
        for (int i = 0; i < 4; ++i)
            ico.append(char(value >> (8 * i)));
    }
    return ico + png;
}

QByteArray progressiveJpeg(int claimedSide) {
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(picture);
    const qsizetype frame = bytes.indexOf("\xff\xc2");
    for (const qsizetype at : {frame + 5, frame + 7}) {
        bytes[at] = char(claimedSide >> 8);
        bytes[at + 1] = char(claimedSide & 0xff);
    }
    return bytes;
}

// An ICO of `entries` entries, each of the same picture.
QByteArray icoOfMany(const QByteArray& picture, int entries) {
    QByteArray ico("\0\0\1\0", 4);
    ico.append(char(entries & 0xff)).append(char(entries >> 8));
    for (int entry = 0; entry < entries; ++entry) {
        ico.append("\0\0\0\0\1\0\x20\0", 8);
        for (const std::uint32_t value : {std::uint32_t(picture.size()), std::uint32_t(6 + 16 * entries)}) {
            for (int i = 0; i < 4; ++i)
                ico.append(char(value >> (8 * i)));
        }
    }
    return ico + picture;
}

QByteArray jpegSegment(unsigned char marker, const QByteArray& body) {
    const int length = int(body.size()) + 2;
    return QByteArray("\xff", 1) + char(marker) + char(length >> 8) + char(length & 0xff) + body;
}

// A progressive grey JPEG of 1024 × 1024 whose first scan sets every block's DC, and whose
// `scans` more say in two bytes that every block's AC is zero, one run of ends of blocks;
// libjpeg still goes through every block of each.
QByteArray silentScansJpeg(int scans) {
    constexpr int kBlocks = 128 * 128;
    QByteArray jpeg("\xff\xd8", 2);
    jpeg += jpegSegment(0xDB, QByteArray(1, '\0') + QByteArray(64, '\1'));
    jpeg += jpegSegment(0xC2, QByteArray("\x08\x04\x00\x04\x00\x01\x01\x11\x00", 9));
    // One code of one bit in each table: a DC difference of zero; a run of 2^14 ends of blocks.
    jpeg += jpegSegment(0xC4, QByteArray("\x00\x01", 2) + QByteArray(15, '\0') + QByteArray(1, '\0'));
    jpeg += jpegSegment(0xC4, QByteArray("\x10\x01", 2) + QByteArray(15, '\0') + QByteArray("\xe0", 1));
    jpeg += jpegSegment(0xDA, QByteArray("\x01\x01\x00\x00\x00\x00", 6)) + QByteArray(kBlocks / 8, '\0');
    const QByteArray silent = jpegSegment(0xDA, QByteArray("\x01\x01\x00\x01\x3f\x00", 6)) + QByteArray("\x00\x01", 2);
    return jpeg + silent.repeated(scans) + QByteArray("\xff\xd9", 2);
}

QByteArray rleBmp(int side) {
    const auto little = [](std::uint32_t value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out.append(char(value >> (8 * i)));
        return out;
    };
    QByteArray rows;
    for (int y = 0; y < side; ++y) {
        for (int left = side; left > 0; left -= 255)
            rows.append(char(std::min(left, 255))).append('\1');
        rows.append("\0\0", 2);
    }
    rows.append("\0\1", 2);
    QByteArray palette;
    for (int colour = 0; colour < 256; ++colour)
        palette.append("\0\0\xff\0", 4);
    const QByteArray header = little(40, 4) + little(side, 4) + little(side, 4) + little(1, 2) + little(8, 2) +
                              little(1, 4) + little(std::uint32_t(rows.size()), 4) + little(2835, 4) + little(2835, 4) +
                              little(256, 4) + little(0, 4);
    const std::uint32_t offset = 14 + 40 + std::uint32_t(palette.size());
    return "BM" + little(offset + std::uint32_t(rows.size()), 4) + little(0, 4) + little(offset, 4) + header + palette +
           rows;
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

// Measured: a progressive JPEG of 0.78 MB took 815 MB, a PNG of a gigabyte of zeros held the
// reader 2.6 s, an ICO saying 1 × 1 of a 5600² PNG 285 MB inside an SVG, a long SVG text 342 MB.
// What a picture costs is told by its own headers, before it is decoded, whatever they say.
TEST_F(PictureReading, APictureCostsNoMoreThanItsBoundWhateverItsHeadersSay) {
    EXPECT_FALSE(read(progressiveJpeg(16)).isNull());
    EXPECT_TRUE(read(progressiveJpeg(12000)).isNull()) << "every coefficient of 12000 × 12000 held";

    EXPECT_TRUE(isRed(read(redPng(40, 30, false))));
    EXPECT_TRUE(isRed(read(redPng(41, 29, true)))) << "interlaced: seven passes of rows";
    EXPECT_TRUE(read(redPng(40, 30, false, 16 << 20)).isNull()) << "16 MB of zeros past the rows";
    EXPECT_TRUE(read(redPng(41, 29, true, 1)).isNull());

    EXPECT_FALSE(read(icoOf(redPng(16, 16, false))).isNull());
    EXPECT_TRUE(read(icoOf(emptyPng(4200))).isNull()) << "70 MB behind a directory that says 1 × 1";
    EXPECT_TRUE(read(svg(image("data:image/x-icon;base64," + icoOf(redPng(16, 16, false)).toBase64()))).isNull())
        << "an ICO's directory inside an SVG";

    EXPECT_TRUE(isRed(read(svg("<text y=\"9\">a few words</text>"))));
    EXPECT_TRUE(read(svg("<text y=\"9\">" + QByteArray(20000, 'w') + "</text>")).isNull());
    EXPECT_TRUE(read(svg("<text y=\"9\"><tspan>" + QByteArray(20000, 'w') + "</tspan></text>")).isNull());
    EXPECT_TRUE(read(svg(QByteArray("<g/>").repeated(100001))).isNull());
    QByteArray groups = "<g id=\"g0\"><rect width=\"1\" height=\"1\"/></g>";
    for (int level = 1; level < 10; ++level) {
        groups += "<g id=\"g" + QByteArray::number(level) + "\">" +
                  ("<use xlink:href=\"#g" + QByteArray::number(level - 1) + "\"/>").repeated(10) + "</g>";
    }
    EXPECT_TRUE(read(svg(groups)).isNull()) << "ten uses of ten uses ... of a group: a billion drawn";
    EXPECT_TRUE(read(svg("<g id=\"loop\"><use xlink:href=\"#loop\"/></g>")).isNull());
    EXPECT_TRUE(
        read(svg("<g>" + QByteArray("<g>").repeated(300) + QByteArray("</g>").repeated(300) + "</g>")).isNull());
    EXPECT_TRUE(read(svg("<text id=\"t\" y=\"9\">" + QByteArray(2000, 'w') + "</text>" +
                         QByteArray("<use xlink:href=\"#t\"/>").repeated(10)))
                    .isNull())
        << "a text drawn again and again";
    EXPECT_TRUE(read(svg(image("data:image/png," + QByteArray(1000, 'x')))).isNull()) << "no base64 payload";

    QByteArray xpm("/* XPM */\nstatic char* x[] = {\n\"2 1 70000 3\",\n");
    const auto code = [](int n) {
        QByteArray letters;
        for (int i = 0; i < 3; ++i, n /= 52)
            letters.append(n % 52 < 26 ? char('a' + n % 52) : char('A' + n % 52 - 26));
        return letters;
    };
    for (int colour = 0; colour < 70000; ++colour)
        xpm += "\"" + code(colour) + " c #FF0000\",\n";
    EXPECT_TRUE(read(xpm + "\"" + code(0) + code(1) + "\"};\n").isNull()) << "a table of 70,000 colours";
}

// Measured: an ICO of 1 MB whose 65,535 entries name one PNG of 4000 × 4000 zeros held the
// reader about 2.4 hours, inflating it again for each; a progressive JPEG of 8 MB with
// 253,826 scans that say nothing, 7 minutes. One file's reading, the pictures inside it
// among it, does no more work than its budget, whatever the file holds.
TEST_F(PictureReading, AFilesReadingWorksNoMoreThanItsBudgetWhateverItHolds) {
    const QByteArray small = redPng(16, 16, false);
    EXPECT_FALSE(read(icoOfMany(small, 4)).isNull());
    EXPECT_TRUE(read(icoOfMany(small, 300)).isNull()) << "more entries than any icon's sizes";
    EXPECT_TRUE(read(icoOfMany(emptyPng(4000), 3)).isNull()) << "64 MB of rows inflated for each entry";

    EXPECT_FALSE(read(silentScansJpeg(10)).isNull());
    EXPECT_TRUE(read(silentScansJpeg(1100)).isNull()) << "18 million blocks decoded";
    const QByteArray jpegImage = image("data:image/jpeg;base64," + silentScansJpeg(600).toBase64());
    EXPECT_FALSE(read(svg(jpegImage)).isNull());
    EXPECT_TRUE(read(svg(jpegImage + jpegImage)).isNull()) << "the pictures inside a file share its budget";
}

// Measured: a 4096 × 4096 PNG, decoded at the bound, raised the peak by two pictures, the
// one decoded and the one converted to scale it. What a reading holds at its peak is what is
// bound: a picture changes in place where it can, and a copy counts where it cannot.
TEST_F(PictureReading, WhatIsBoundIsWhatTheReadingHoldsAtOnce) {
    EXPECT_FALSE(read(emptyPng(4096)).isNull()) << "64 MiB of 32 bits, scaled in place";
    EXPECT_FALSE(read(rleBmp(3000)).isNull());
    EXPECT_TRUE(read(rleBmp(4000)).isNull()) << "16 MB of 8 bits and 64 MB of 32 bits to scale it";
}

}  // namespace
}  // namespace quillbern
