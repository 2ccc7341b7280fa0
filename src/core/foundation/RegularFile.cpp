#include "core/foundation/RegularFile.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <utility>

namespace quillbern {

namespace {

Error failure(std::string reason, int code) {
    return Error{std::move(reason), "errno", code};
}

Error systemFailure(int code) {
    std::string reason = std::strerror(code);
    if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    return failure(std::move(reason), code);
}

std::string sizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kMegabyte = 1 << 20;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0) return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

Error tooLarge(std::uint64_t maxBytes) {
    return failure("larger than " + sizeText(maxBytes), EFBIG);
}

Result<void> checkRegular(const struct stat& status, std::uint64_t maxBytes) {
    if (!S_ISREG(status.st_mode)) return failure("not a regular file", EINVAL);
    if (static_cast<std::uint64_t>(status.st_size) > maxBytes) return tooLarge(maxBytes);
    return {};
}

}  // namespace

Result<RegularFile> RegularFile::open(const std::filesystem::path& path, std::uint64_t maxBytes, int folder) {
    // Looked at first, so a device is never opened: opening one may already act.
    struct stat status {};
    if (::fstatat(folder, path.c_str(), &status, 0) != 0) return systemFailure(errno);
    if (auto regular = checkRegular(status, maxBytes); !regular) return regular.error();
    const int fd = ::openat(folder, path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return systemFailure(errno);
    RegularFile file(fd, maxBytes);
    // Another file may have taken the name since it was looked at.
    if (::fstat(fd, &status) != 0) return systemFailure(errno);
    if (auto regular = checkRegular(status, maxBytes); !regular) return regular.error();
    return file;
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), maxBytes_(other.maxBytes_) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        maxBytes_ = other.maxBytes_;
    }
    return *this;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

int RegularFile::release() {
    return std::exchange(fd_, -1);
}

Result<std::string> RegularFile::readAll() {
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return systemFailure(errno);
        if (n == 0) return text;
        text.append(buffer, static_cast<std::size_t>(n));
        // The file may grow while it is read.
        if (text.size() > maxBytes_) return tooLarge(maxBytes_);
    }
}

Result<std::string> readRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes, int folder) {
    auto file = RegularFile::open(path, maxBytes, folder);
    if (!file) return file.error();
    return file.value().readAll();
}

}  // namespace quillbern
