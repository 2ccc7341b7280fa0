#include "linux/InterimBackends.h"

#include <sys/stat.h>

namespace quillbern {

bool PosixFileSystem::exists(const Path& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool PosixFileSystem::isDirectory(const Path& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string PosixFileSystem::displayName(const Path& path) const {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos || trimmed.size() == 1 ? trimmed : trimmed.substr(slash + 1);
}

}  // namespace quillbern
