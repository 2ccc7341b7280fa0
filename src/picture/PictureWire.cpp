#include "picture/PictureWire.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>

namespace quillbern {

namespace {

// Each message starts with its own; a reader and a program of other versions never agree.
constexpr std::uint32_t kReady = 0x51425231;    // "QBR1"
constexpr std::uint32_t kRequest = 0x51425131;  // "QBQ1"
constexpr std::uint32_t kAnswer = 0x51424131;   // "QBA1"

struct RequestHead {
    std::uint32_t magic;
    std::uint32_t kind;
    std::uint32_t side;
    std::uint32_t uriBytes;
    std::uint32_t mtimeBytes;
};

struct AnswerHead {
    std::uint32_t magic;
    std::uint32_t found;
    std::uint32_t width;
    std::uint32_t height;
};
static_assert(sizeof(AnswerHead) == kAnswerSizeBytes);

bool sendAll(int socket, const void* data, std::size_t size) {
    const auto* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(socket, at, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        at += sent;
        size -= std::size_t(sent);
    }
    return true;
}

bool receiveAll(int socket, void* data, std::size_t size) {
    auto* at = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t received = ::recv(socket, at, size, 0);
        if (received < 0 && errno == EINTR) continue;
        if (received <= 0) return false;
        at += received;
        size -= std::size_t(received);
    }
    return true;
}

// Closes every descriptor the message carried but the first, which it returns.
int firstHandedOver(msghdr& message) {
    int first = -1;
    for (cmsghdr* part = CMSG_FIRSTHDR(&message); part; part = CMSG_NXTHDR(&message, part)) {
        if (part->cmsg_level != SOL_SOCKET || part->cmsg_type != SCM_RIGHTS) continue;
        const std::size_t count = (part->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (std::size_t i = 0; i < count; ++i) {
            int fd;
            std::memcpy(&fd, CMSG_DATA(part) + i * sizeof(int), sizeof fd);
            if (first < 0) {
                first = fd;
            } else {
                ::close(fd);
            }
        }
    }
    return first;
}

}  // namespace

bool sendReady(int socket) {
    const std::array<std::uint32_t, 2> ready{kReady, 0};
    static_assert(sizeof ready == kReadyBytes);
    return sendAll(socket, ready.data(), sizeof ready);
}

bool isReady(std::span<const std::byte> message) {
    std::uint32_t magic = 0;
    if (message.size() < kReadyBytes) return false;
    std::memcpy(&magic, message.data(), sizeof magic);
    return magic == kReady;
}

bool sendRequest(int socket, const PictureRequest& request, int file) {
    if (request.uri.size() + request.mtime.size() > kMostRequestText) return false;
    const RequestHead head{kRequest, std::uint32_t(request.kind), std::uint32_t(request.side),
                           std::uint32_t(request.uri.size()), std::uint32_t(request.mtime.size())};
    std::string bytes(reinterpret_cast<const char*>(&head), sizeof head);
    bytes += request.uri;
    bytes += request.mtime;
    // The descriptor goes with the first byte; the rest follows as it fits.
    iovec first{bytes.data(), 1};
    alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(int))> control{};
    msghdr message{};
    message.msg_iov = &first;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    cmsghdr* part = CMSG_FIRSTHDR(&message);
    part->cmsg_level = SOL_SOCKET;
    part->cmsg_type = SCM_RIGHTS;
    part->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(part), &file, sizeof file);
    ssize_t sent;
    do {
        sent = ::sendmsg(socket, &message, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent == 1 && sendAll(socket, bytes.data() + 1, bytes.size() - 1);
}

std::optional<ReceivedRequest> receiveRequest(int socket) {
    RequestHead head{};
    char first = 0;
    iovec byte{&first, 1};
    alignas(cmsghdr) std::array<char, CMSG_SPACE(4 * sizeof(int))> control{};
    msghdr message{};
    message.msg_iov = &byte;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    ssize_t received;
    do {
        received = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
    } while (received < 0 && errno == EINTR);
    if (received != 1) return std::nullopt;
    ReceivedRequest taken;
    taken.file = firstHandedOver(message);
    const auto refused = [&taken] {
        if (taken.file >= 0) ::close(taken.file);
        return std::nullopt;
    };
    auto* headBytes = reinterpret_cast<char*>(&head);
    headBytes[0] = first;
    if (taken.file < 0 || (message.msg_flags & MSG_CTRUNC) || !receiveAll(socket, headBytes + 1, sizeof head - 1))
        return refused();
    if (head.magic != kRequest || head.kind > std::uint32_t(PictureKind::storedThumbnail) || head.side == 0 ||
        head.side > std::uint32_t(kMostAskedSide) || std::size_t(head.uriBytes) + head.mtimeBytes > kMostRequestText)
        return refused();
    taken.request.kind = PictureKind(head.kind);
    taken.request.side = int(head.side);
    taken.request.uri.resize(head.uriBytes);
    taken.request.mtime.resize(head.mtimeBytes);
    if (!receiveAll(socket, taken.request.uri.data(), head.uriBytes) ||
        !receiveAll(socket, taken.request.mtime.data(), head.mtimeBytes))
        return refused();
    return taken;
}

bool sendAnswer(int socket, const AnswerSize& size, std::span<const std::uint8_t> pixels) {
    const AnswerHead head{kAnswer, size.found ? 1u : 0u, std::uint32_t(size.width), std::uint32_t(size.height)};
    return sendAll(socket, &head, sizeof head) && sendAll(socket, pixels.data(), pixels.size());
}

std::optional<AnswerSize> answerSize(std::span<const std::byte> message, int mostSide) {
    AnswerHead head{};
    if (message.size() < sizeof head) return std::nullopt;
    std::memcpy(&head, message.data(), sizeof head);
    if (head.magic != kAnswer || head.found > 1) return std::nullopt;
    if (!head.found) return head.width == 0 && head.height == 0 ? std::optional(AnswerSize{}) : std::nullopt;
    const auto fits = [mostSide](std::uint32_t side) { return side > 0 && side <= std::uint32_t(mostSide); };
    if (!fits(head.width) || !fits(head.height)) return std::nullopt;
    return AnswerSize{true, int(head.width), int(head.height)};
}

}  // namespace quillbern
