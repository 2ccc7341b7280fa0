#include "linux/freedesktop/LinuxFileSystem.h"

#include <glib.h>

#include <filesystem>

namespace quillbern {

bool LinuxFileSystem::exists(const Path& path) const {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

bool LinuxFileSystem::isDirectory(const Path& path) const {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string LinuxFileSystem::displayName(const Path& path) const {
    gchar* name = g_filename_display_basename(path.c_str());
    std::string result(name);
    g_free(name);
    return result;
}

}  // namespace quillbern
