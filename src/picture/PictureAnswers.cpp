#include "picture/PictureAnswers.h"

#include <unistd.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <cerrno>
#include <chrono>
#include <list>
#include <optional>
#include <sys/stat.h>
#include <tuple>

#include "picture/PictureReading.h"
#include "picture/PictureWire.h"
#include "picture/SelfContainedSvg.h"
#include "picture/ThumbnailReading.h"

namespace quillbern {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Larger icons are kept no larger once read: no view draws an icon bigger.
constexpr int kMostIconSide = 512;
// An icon read whole serves the next sizes a moment (a slider, an animation), then goes.
constexpr auto kWholeKept = std::chrono::seconds(2);
constexpr std::size_t kMostWholeKept = 4;

// What the file holds, when it is no larger than `mostBytes`: it may have grown since the
// program looked.
std::optional<QByteArray> contentsOf(int file, std::uint64_t mostBytes) {
    QByteArray bytes;
    char part[1 << 16];
    for (;;) {
        const ssize_t read = ::read(file, part, sizeof part);
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) return std::nullopt;
        if (read == 0) return bytes;
        if (std::uint64_t(bytes.size()) + std::uint64_t(read) > mostBytes) return std::nullopt;
        bytes.append(part, read);
    }
}

bool isScalable(const QByteArray& bytes) {
    if (bytes.startsWith(QByteArrayView(kGzipMagic.data(), qsizetype(kGzipMagic.size())))) return true;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader(&buffer).format();
    return format == "svg" || format == "svgz";
}

// Which file a descriptor reads, as it is now.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t changed = 0;
    bool operator==(const FileIdentity&) const = default;

    static std::optional<FileIdentity> of(int file) {
        struct stat facts {};
        if (::fstat(file, &facts) != 0) return std::nullopt;
        return FileIdentity{facts.st_dev, facts.st_ino, facts.st_size,
                            std::int64_t(facts.st_mtim.tv_sec) * 1'000'000'000 + facts.st_mtim.tv_nsec};
    }
};

class Answers {
public:
    QImage read(const PictureRequest& request, int file) {
        const auto now = SteadyClock::now();
        std::erase_if(wholes_, [now](const Whole& whole) { return now - whole.read >= kWholeKept; });
        if (request.kind == PictureKind::icon) return readIcon(file, request.side);
        const std::optional<QByteArray> bytes = contentsOf(file, mostFileBytes(request.kind));
        if (!bytes) return {};
        if (request.kind == PictureKind::storedThumbnail)
            return fittedTo(cachedThumbnail(*bytes, request.uri, request.mtime), request.side);
        QBuffer buffer;
        buffer.setData(*bytes);
        buffer.open(QIODevice::ReadOnly);
        return readPicture(buffer, request.side, kMostPictureBytes);
    }

private:
    struct Whole {
        FileIdentity file;
        QImage picture;
        SteadyClock::time_point read;
    };

    // A scalable icon is drawn at the size; any other is read whole once, then fitted.
    QImage readIcon(int file, int side) {
        const std::optional<FileIdentity> identity = FileIdentity::of(file);
        if (!identity) return {};
        if (const auto whole = std::ranges::find(wholes_, *identity, &Whole::file); whole != wholes_.end())
            return fittedTo(whole->picture, side);
        std::optional<QByteArray> bytes = contentsOf(file, mostFileBytes(PictureKind::icon));
        if (!bytes) return {};
        QBuffer buffer(&*bytes);
        buffer.open(QIODevice::ReadOnly);
        if (isScalable(*bytes)) return readPicture(buffer, side, kMostPictureBytes);
        const QImage whole = readPicture(buffer, kMostIconSide, kMostPictureBytes);
        if (whole.isNull()) return {};
        wholes_.push_front({*identity, whole, SteadyClock::now()});
        if (wholes_.size() > kMostWholeKept) wholes_.pop_back();
        return fittedTo(whole, side);
    }

    // Most recently read first.
    std::list<Whole> wholes_;
};

bool answer(int socket, const QImage& read, int side) {
    if (read.isNull() || read.width() > side || read.height() > side) return sendAnswer(socket, {}, {});
    const QImage pixels = read.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    const AnswerSize size{true, pixels.width(), pixels.height()};
    const auto rowBytes = std::size_t(pixels.width()) * 4;
    if (std::size_t(pixels.bytesPerLine()) == rowBytes)
        return sendAnswer(socket, size, {pixels.constBits(), size.pixelBytes()});
    std::vector<std::uint8_t> rows(size.pixelBytes());
    for (int row = 0; row < pixels.height(); ++row)
        std::copy_n(pixels.constScanLine(row), rowBytes, rows.begin() + std::ptrdiff_t(rowBytes) * row);
    return sendAnswer(socket, size, rows);
}

}  // namespace

int answerPictureRequests(int socket, const std::function<void()>& beforeEach) {
    Answers answers;
    for (;;) {
        const std::optional<ReceivedRequest> received = receiveRequest(socket);
        if (!received) return 0;
        beforeEach();
        const QImage read = answers.read(received->request, received->file);
        ::close(received->file);
        if (!answer(socket, read, received->request.side)) return 1;
    }
}

}  // namespace quillbern
