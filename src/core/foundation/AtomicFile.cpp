#include "core/foundation/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <sys/stat.h>

#include "core/foundation/Localization.h"
#include "core/foundation/ProcessId.h"

namespace quillbern {

namespace fs = std::filesystem;

namespace {

// As many links as the kernel follows before it reports a loop.
constexpr int kMaxLinks = 40;

// A user may read it (an entry of the startup applications that could not be written): `what`
// is one of the formats marked below, filled with the path and the system's own reason.
Error systemError(std::string_view what, const fs::path& path, int code = errno) {
    return Error{formatLocalized(tr(what), {path.string(), std::strerror(code)}), "errno", code};
}

// Closes and removes a temporary file that will not be committed, keeping the first error.
Error abandon(int fd, const fs::path& temporary, Error error) {
    if (fd >= 0) ::close(fd);
    ::unlink(temporary.c_str());
    return error;
}

std::string temporaryPrefix(const fs::path& target) {
    return target.string() + ".tmp-";
}

// The process that wrote the temporary file of this name, after the prefix.
std::optional<pid_t> writerOf(std::string_view name) {
    // The process id, a hyphen, and the six characters the system chose.
    const std::size_t hyphen = name.find('-');
    if (hyphen == 0 || hyphen == std::string_view::npos || name.size() != hyphen + 7) return std::nullopt;
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + hyphen, pid);
    if (error != std::errc() || end != name.data() + hyphen || !isProcessId(pid)) return std::nullopt;
    return pid;
}

// The file that a save of `target` replaces.
Result<fs::path> fileToReplace(const fs::path& target, LinkAtName links) {
    if (links == LinkAtName::replaced) return target;
    fs::path current = target;
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT) return current;
            return systemError(trNoop("cannot look at %@: %@"), current);
        }
        if (S_ISREG(status.st_mode)) return current;
        if (!S_ISLNK(status.st_mode)) return target;
        std::error_code error;
        const fs::path next = fs::read_symlink(current, error);
        if (error) return systemError(trNoop("cannot follow the link %@: %@"), current, error.value());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return systemError(trNoop("cannot follow the links of %@: %@"), target, ELOOP);
}

}  // namespace

Result<fs::path> writeTemporaryFile(const fs::path& target, std::string_view contents) {
    std::error_code ignored;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ignored);
    std::string pattern = temporaryPrefix(target) + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC | O_NOFOLLOW);
    const fs::path temporary = pattern;
    if (fd < 0) return systemError(trNoop("cannot create a temporary file beside %@: %@"), target);
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return abandon(fd, temporary, systemError(trNoop("cannot write %@: %@"), temporary));
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return abandon(fd, temporary, systemError(trNoop("cannot save %@ to the disk: %@"), temporary));
    if (::close(fd) != 0) return abandon(-1, temporary, systemError(trNoop("cannot close %@: %@"), temporary));
    return temporary;
}

Result<void> commitTemporaryFile(const fs::path& temporary, const fs::path& target) {
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        return abandon(-1, temporary, systemError(trNoop("cannot replace %@: %@"), target));
    }
    // The rename itself lives in the directory; flush it so a power cut cannot undo it.
    const auto directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return {};
}

Result<void> writeFileAtomically(const fs::path& target, std::string_view contents, LinkAtName links) {
    const auto file = fileToReplace(target, links);
    if (!file) return file.error();
    const auto temporary = writeTemporaryFile(file.value(), contents);
    if (!temporary) return temporary.error();
    return commitTemporaryFile(temporary.value(), file.value());
}

int removeAbandonedTemporaryFiles(const fs::path& target, LinkAtName links) {
    const auto file = fileToReplace(target, links);
    if (!file) return 0;
    const std::string prefix = temporaryPrefix(file.value().filename());
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(file.value().parent_path(), error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix) || it->symlink_status(error).type() != fs::file_type::regular) continue;
        const std::optional<pid_t> writer = writerOf(std::string_view(name).substr(prefix.size()));
        // Only a writer that no longer exists: a running one, ours or another user's, may still rename.
        if (!writer || processExists(*writer)) continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace quillbern
