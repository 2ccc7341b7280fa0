#include "core/foundation/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quillbern {

namespace {
Error systemError(std::string what, const std::filesystem::path& path) {
    const int code = errno;
    return Error{what + " " + path.string() + ": " + std::strerror(code), "errno", code};
}
}  // namespace

std::filesystem::path temporaryPathFor(const std::filesystem::path& target) {
    auto temporary = target;
    temporary += ".tmp";
    return temporary;
}

Result<void> writeTemporaryFile(const std::filesystem::path& target, std::string_view contents) {
    std::error_code ignored;
    std::filesystem::create_directories(target.parent_path(), ignored);
    const auto temporary = temporaryPathFor(target);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return systemError("cannot create", temporary);
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            auto error = systemError("cannot write", temporary);
            ::close(fd);
            ::unlink(temporary.c_str());
            return error;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        auto error = systemError("cannot flush", temporary);
        ::close(fd);
        ::unlink(temporary.c_str());
        return error;
    }
    if (::close(fd) != 0) return systemError("cannot close", temporary);
    return {};
}

Result<void> commitTemporaryFile(const std::filesystem::path& target) {
    if (std::rename(temporaryPathFor(target).c_str(), target.c_str()) != 0) {
        return systemError("cannot replace", target);
    }
    // The rename itself lives in the directory; flush it so a power cut cannot undo it.
    const auto directory = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    if (const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return {};
}

Result<void> writeFileAtomically(const std::filesystem::path& target, std::string_view contents) {
    if (auto written = writeTemporaryFile(target, contents); !written) return written;
    return commitTemporaryFile(target);
}

}  // namespace quillbern
