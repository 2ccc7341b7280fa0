#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quillbern {

// What the program and its picture reader (a process of the program's own, which it starts
// with one end of a socket as descriptor 3) say to each other. The reader says once that it
// is ready, then answers one request at a time. A request hands over the file to read as an
// open descriptor, so the reader opens no file of others by itself; an answer gives the
// picture's size, then its pixels, four bytes each, red, green, blue and alpha, premultiplied,
// row after row. The program checks the size against what it asked before it reads a pixel.

inline constexpr int kReaderSocket = 3;

// What is read, and how large a file may be for it.
enum class PictureKind : std::uint32_t {
    // An icon file, as a desktop entry or an icon theme names it.
    icon,
    // A picture the user keeps, for its thumbnail.
    thumbnail,
    // A picture of the shared thumbnail cache, which counts only when it says it was made
    // from the file as it is now.
    storedThumbnail,
};

// The largest file read for each kind: an icon file, however detailed, is far smaller; a
// picture decodes within kMostPictureBytes, whatever its file's size; larger files in the
// thumbnail cache are no thumbnails.
constexpr std::uint64_t mostFileBytes(PictureKind kind) {
    switch (kind) {
        case PictureKind::icon:
            return 8 << 20;
        case PictureKind::thumbnail:
            return 64 << 20;
        case PictureKind::storedThumbnail:
            break;
    }
    return 16 << 20;
}

struct PictureRequest {
    PictureKind kind = PictureKind::icon;
    // The picture's longer side at most, in pixels.
    int side = 0;
    // What a stored thumbnail must say it was made from, and when.
    std::string uri;
    std::string mtime;
};

// Larger sides are asked of no picture: the largest thumbnails.
inline constexpr int kMostAskedSide = 1024;
// A stored thumbnail's texts are paths and times: longer ones match no file.
inline constexpr std::size_t kMostRequestText = 8192;

struct AnswerSize {
    // Whether a picture was read; without one, no pixels follow.
    bool found = false;
    int width = 0;
    int height = 0;

    std::size_t pixelBytes() const { return std::size_t(width) * std::size_t(height) * 4; }
};

// Each waits for the whole message and takes EINTR in its stride; false when the other end
// is gone or sent what is no such message.

bool sendReady(int socket);
// Whether the reader said it is ready, of the bytes it sent first.
bool isReady(std::span<const std::byte> message);
inline constexpr std::size_t kReadyBytes = 8;

// The request, with `file` handed over beside it.
bool sendRequest(int socket, const PictureRequest& request, int file);

struct ReceivedRequest {
    PictureRequest request;
    // Ours to close.
    int file = -1;
};
// The next request; none once the program closed its end, or when it sent no request.
std::optional<ReceivedRequest> receiveRequest(int socket);

bool sendAnswer(int socket, const AnswerSize& size, std::span<const std::uint8_t> pixels);
inline constexpr std::size_t kAnswerSizeBytes = 16;
// The answer's size as its first bytes give it, when they are an answer's with a side no
// longer than `mostSide`.
std::optional<AnswerSize> answerSize(std::span<const std::byte> message, int mostSide);

}  // namespace quillbern
