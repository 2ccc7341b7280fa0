// The thumbnail reader on what others write: a file of the shared thumbnail cache, which any
// program of the user may put there, and a picture to make a thumbnail of, an SVG or a
// compressed one among them. Whatever the bytes, reading stays within its bounds of memory
// and time, a cached picture counts only with both texts of the thumbnail standard matching,
// and a picture fits its size.
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QtGlobal>

#include "FuzzSupport.h"
#include "picture/PictureReading.h"
#include "picture/ThumbnailReading.h"

using namespace quillbern;
using namespace quillbern::fuzz;

namespace {

const std::string kUri = "file:///home/u/picture.png";
const std::string kMtime = "1700000000";
constexpr int kSide = 128;
constexpr qint64 kMostDecodedBytes = 16 << 20;

}  // namespace

// fontconfig, which an SVG's texts reach, keeps blocks of its caches where LeakSanitizer sees
// no reference to them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // An SVG's texts need the fonts of an application.
    static int argc = 1;
    static char name[] = "fuzz_thumbnails";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(argc, argv);
    // Qt warns of every damaged picture: millions of lines.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Pictures that claim to be huge are refused by Qt at a smaller size, so the run's memory
    // stays with the reader's own.
    QImageReader::setAllocationLimit(16);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    const QImage cached = cachedThumbnail(bytes, kUri, kMtime);
    if (!cached.isNull()) {
        require(cachedThumbnail(bytes, kUri + "x", kMtime).isNull(), "a longer URI matches no cached picture");
        require(cachedThumbnail(bytes, kUri, kMtime.substr(1)).isNull(), "a shorter time matches no cached picture");
    }

    QBuffer picture;
    picture.setData(bytes);
    picture.open(QIODevice::ReadOnly);
    const QImage made = readPicture(picture, kSide, kMostDecodedBytes);
    require(made.isNull() || (made.width() <= kSide && made.height() <= kSide), "a thumbnail fits its size");
    return 0;
}
