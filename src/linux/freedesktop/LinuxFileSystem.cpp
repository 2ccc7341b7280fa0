#include "linux/freedesktop/LinuxFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gio/gio.h>
#include <string_view>
#include <sys/stat.h>
#include <unordered_set>

#include "core/foundation/Paths.h"
#include "core/foundation/RegularFile.h"
#include "core/foundation/Utf8.h"
#include "core/platform/UserDirsFile.h"

namespace quillbern {

namespace {

// Enough for any list of hidden names a person keeps.
constexpr std::uint64_t kMaxHiddenFileBytes = 1 << 20;

Error listingFailure(const Path& folder, int code) {
    return Error{"cannot read the folder " + replacingInvalidUtf8(folder) + ": " + std::strerror(code), "posix", code};
}

// The names that the folder's ".hidden" file lists; none when it has no such file.
std::unordered_set<std::string> hiddenNames(int folder) {
    std::unordered_set<std::string> names;
    const Result<std::string> text = readRegularFile(".hidden", kMaxHiddenFileBytes, folder);
    if (!text) return names;
    std::string_view rest = text.value();
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!line.empty()) names.emplace(line);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return names;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

std::string configFolder(const std::string& home) {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') return config;
    return home + "/.config";
}

std::string dataFolder(const std::string& home) {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') return data;
    return home + "/.local/share";
}

// The user's own Trash; its folders are made when missing, private as the trash convention
// asks, so that what is trashed later has a place and a watch of it can start now.
std::optional<Path> homeTrashFiles(const std::string& home) {
    if (home.empty()) return std::nullopt;
    const Path trash = normalizedPath(dataFolder(home)) + "/Trash";
    std::error_code ignored;
    std::filesystem::create_directories(dataFolder(home), ignored);
    for (const Path& folder : {trash, trash + "/files", trash + "/info"})
        ::mkdir(folder.c_str(), 0700);
    struct stat facts;
    if (::stat((trash + "/files").c_str(), &facts) != 0 || !S_ISDIR(facts.st_mode)) return std::nullopt;
    return trash + "/files";
}

// The folder that holds the item, as the system resolves it: links followed, "." and ".."
// and doubled slashes gone. The item itself is not followed: a link is an item of its own.
// None when that folder cannot be resolved.
std::optional<Path> canonicalFolderOf(const Path& path) {
    const Path normalized = normalizedPath(path);
    const std::string name = lastPathComponent(normalized);
    const bool isFolderItself = name.empty() || name == "." || name == ".." || normalized == "/";
    const Path folder = isFolderItself ? normalized : parentPath(normalized);
    char* resolved = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
    if (!resolved) return std::nullopt;
    Path canonical = resolved;
    std::free(resolved);
    return isFolderItself ? parentPath(canonical) : canonical;
}

}  // namespace

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

Result<std::vector<DirEntry>> LinuxFileSystem::list(const Path& folder, bool skipHidden) const {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return listingFailure(folder, errno);
    DIR* stream = ::fdopendir(fd);
    if (!stream) {
        const int code = errno;
        ::close(fd);
        return listingFailure(folder, code);
    }
    const std::unordered_set<std::string> hidden = skipHidden ? hiddenNames(fd) : std::unordered_set<std::string>();
    std::vector<DirEntry> entries;
    while (true) {
        errno = 0;
        const dirent* item = ::readdir(stream);
        if (!item) break;
        const std::string_view name = item->d_name;
        if (name == "." || name == "..") continue;
        if (skipHidden && (name.starts_with('.') || (!hidden.empty() && hidden.contains(std::string(name))))) continue;
        DirEntry entry;
        entry.path = childPath(folder, name);
        entry.name = name;
        // Not following links keeps every link an item of its own: no loops, no duplicates.
        // An item deleted since the listing has no facts and stays an undated file.
        struct stat facts;
        if (::fstatat(fd, item->d_name, &facts, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.isDirectory = S_ISDIR(facts.st_mode);
            entry.isPackage = false;
            entry.modified =
                WallTime{static_cast<double>(facts.st_mtim.tv_sec) + static_cast<double>(facts.st_mtim.tv_nsec) / 1e9};
        }
        entries.push_back(std::move(entry));
    }
    const int readError = errno;
    ::closedir(stream);
    if (readError != 0) return listingFailure(folder, readError);
    return entries;
}

std::optional<Path> LinuxFileSystem::userDirectory(UserDirectory which) const {
    const std::string home = homeFolder();
    if (which == UserDirectory::trash) return homeTrashFiles(home);
    if (which == UserDirectory::home) return home.empty() ? std::nullopt : std::optional<Path>(normalizedPath(home));
    const auto [key, usualName] = which == UserDirectory::desktop     ? std::pair("XDG_DESKTOP_DIR", "Desktop")
                                  : which == UserDirectory::documents ? std::pair("XDG_DOCUMENTS_DIR", "Documents")
                                                                      : std::pair("XDG_DOWNLOAD_DIR", "Downloads");
    const UserDirs configured = readUserDirsFile(configFolder(home) + "/user-dirs.dirs", home);
    Path folder;
    if (const auto named = configured.find(key); named != configured.end()) {
        folder = named->second;
    } else if (!home.empty()) {
        // A desktop without the user-dirs tools still has its folders under the usual names.
        folder = home + "/" + usualName;
    } else {
        return std::nullopt;
    }
    Path normalized = normalizedPath(folder);
    if (normalized == normalizedPath(home) || !isDirectory(normalized)) return std::nullopt;
    return normalized;
}

bool LinuxFileSystem::isInTrash(const Path& path) const {
    const std::string home = homeFolder();
    const Path homeTrash = home.empty() ? Path() : normalizedPath(dataFolder(home)) + "/Trash";
    // The user's Trash by its device and inode, however the path or the data folder is spelled.
    struct stat trash {};
    const bool trashExists = !homeTrash.empty() && ::stat(homeTrash.c_str(), &trash) == 0;
    const std::string uid = std::to_string(::getuid());
    // A folder that cannot be resolved (gone, say) is judged by its spelling alone.
    const Path start = canonicalFolderOf(path).value_or(parentPath(normalizedPath(path)));
    for (Path folder = start; !folder.empty(); folder = parentPath(folder)) {
        struct stat facts {};
        if (folder == homeTrash || (trashExists && ::stat(folder.c_str(), &facts) == 0 &&
                                    facts.st_dev == trash.st_dev && facts.st_ino == trash.st_ino))
            return true;
        // A mounted volume keeps trashed items in $topdir/.Trash/$uid or $topdir/.Trash-$uid.
        const std::string name = lastPathComponent(folder);
        if (name == ".Trash-" + uid || (name == uid && lastPathComponent(parentPath(folder)) == ".Trash")) return true;
        if (folder == "/") break;
    }
    return false;
}

Result<void> LinuxFileSystem::moveToTrash(const Path& path) {
    GFile* const file = g_file_new_for_path(path.c_str());
    GError* error = nullptr;
    const bool trashed = g_file_trash(file, nullptr, &error);
    g_object_unref(file);
    if (trashed) return {};
    Error failure{error->message, "gio", error->code};
    g_error_free(error);
    return failure;
}

}  // namespace quillbern
