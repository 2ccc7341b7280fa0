#pragma once

#include <fcntl.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/foundation/Result.h"

namespace quillbern {

// A file of the desktop that anyone may have replaced by something else: it is opened only
// when it is a regular file of at most a given size, so a FIFO in its place never holds the
// thread in `open`, a device is never opened at all, and a huge file never fills the memory.
// Errors are in the "errno" domain; their message is a reason in plain words ("not a regular
// file", "larger than 1 MB", "no such file or directory").
class RegularFile {
public:
    // `path` when it is such a file; a relative one is taken from the folder `folder` is open on.
    static Result<RegularFile> open(const std::filesystem::path& path, std::uint64_t maxBytes, int folder = AT_FDCWD);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    ~RegularFile();

    int descriptor() const { return fd_; }
    // Hands the descriptor to a new owner, who closes it.
    int release();
    // Everything from the current position on, while it stays within the size.
    Result<std::string> readAll();

private:
    RegularFile(int fd, std::uint64_t maxBytes) : fd_(fd), maxBytes_(maxBytes) {}

    int fd_;
    std::uint64_t maxBytes_;
};

// The contents of `path` when it is a regular file of at most `maxBytes`.
Result<std::string> readRegularFile(const std::filesystem::path& path, std::uint64_t maxBytes, int folder = AT_FDCWD);

}  // namespace quillbern
