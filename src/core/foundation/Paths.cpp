#include "core/foundation/Paths.h"

namespace quillbern {

std::string normalizedPath(std::string_view path) {
    while (path.size() > 1 && path.ends_with('/'))
        path.remove_suffix(1);
    return std::string(path);
}

std::string childPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.ends_with('/')) path += '/';
    path += name;
    return path;
}

std::string parentPath(std::string_view path) {
    const std::string normalized = normalizedPath(path);
    const auto slash = normalized.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : normalized.substr(0, slash);
}

std::string lastPathComponent(std::string_view path) {
    const std::string normalized = normalizedPath(path);
    const auto slash = normalized.rfind('/');
    return slash == std::string::npos || normalized == "/" ? normalized : normalized.substr(slash + 1);
}

}  // namespace quillbern
