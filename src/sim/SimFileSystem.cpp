#include "sim/SimFileSystem.h"

namespace quillbern {

bool SimFileSystem::exists(const Path& path) const {
    std::lock_guard lock(mutex_);
    return nodes_.contains(path);
}

bool SimFileSystem::isDirectory(const Path& path) const {
    std::lock_guard lock(mutex_);
    const auto found = nodes_.find(path);
    return found != nodes_.end() && found->second.isDirectory;
}

std::string SimFileSystem::displayName(const Path& path) const {
    std::lock_guard lock(mutex_);
    const auto found = nodes_.find(path);
    if (found != nodes_.end() && found->second.displayName) return *found->second.displayName;
    const auto slash = path.rfind('/');
    return slash == Path::npos ? path : path.substr(slash + 1);
}

void SimFileSystem::addFile(const Path& path) {
    std::lock_guard lock(mutex_);
    nodes_.insert_or_assign(path, Node{false, std::nullopt});
}

void SimFileSystem::addDirectory(const Path& path, std::optional<std::string> displayName) {
    std::lock_guard lock(mutex_);
    nodes_.insert_or_assign(path, Node{true, std::move(displayName)});
}

void SimFileSystem::setDisplayName(const Path& path, std::string displayName) {
    std::lock_guard lock(mutex_);
    nodes_[path].displayName = std::move(displayName);
}

void SimFileSystem::remove(const Path& path) {
    std::lock_guard lock(mutex_);
    nodes_.erase(path);
}

}  // namespace quillbern
