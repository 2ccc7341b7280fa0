#include "sim/SimFileSystem.h"

#include <algorithm>

#include "core/foundation/Paths.h"

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
    return lastPathComponent(path);
}

Result<std::vector<DirEntry>> SimFileSystem::list(const Path& folder, bool skipHidden) const {
    std::lock_guard lock(mutex_);
    listings_.push_back(folder);
    const auto found = nodes_.find(folder);
    if (found == nodes_.end() || !found->second.isDirectory || found->second.isUnreadable)
        return Error{"The folder cannot be read.", "sim", 13};
    std::vector<std::pair<std::uint64_t, DirEntry>> items;
    const std::string prefix = childPath(folder, "");
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.starts_with(prefix); ++it) {
        const std::string name = it->first.substr(prefix.size());
        const Node& node = it->second;
        if (name.empty() || name.find('/') != std::string::npos || (skipHidden && node.isHidden)) continue;
        DirEntry entry;
        entry.path = it->first;
        entry.name = name;
        if (!node.factsUnreadable) {
            entry.isDirectory = node.isDirectory;
            entry.isPackage = node.isPackage;
            entry.modified = node.modified;
            entry.displayName = node.displayName;
        }
        items.emplace_back(node.order, std::move(entry));
    }
    std::ranges::sort(items, {}, &std::pair<std::uint64_t, DirEntry>::first);
    std::vector<DirEntry> entries;
    entries.reserve(items.size());
    for (auto& item : items)
        entries.push_back(std::move(item.second));
    return entries;
}

std::optional<Path> SimFileSystem::userDirectory(UserDirectory which) const {
    std::lock_guard lock(mutex_);
    const auto found = userDirectories_.find(which);
    if (found == userDirectories_.end()) return std::nullopt;
    return found->second;
}

bool SimFileSystem::isInTrash(const Path& path) const {
    const std::optional<Path> trash = userDirectory(UserDirectory::trash);
    return trash && normalizedPath(path).starts_with(normalizedPath(*trash) + "/");
}

void SimFileSystem::add(const Path& path, Node node) {
    std::lock_guard lock(mutex_);
    node.order = nextOrder_++;
    nodes_.insert_or_assign(path, std::move(node));
}

void SimFileSystem::addFile(const Path& path, std::optional<WallTime> modified) {
    Node node;
    node.modified = modified;
    add(path, std::move(node));
}

void SimFileSystem::addDirectory(const Path& path, std::optional<std::string> displayName,
                                 std::optional<WallTime> modified) {
    Node node;
    node.isDirectory = true;
    node.displayName = std::move(displayName);
    node.modified = modified;
    add(path, std::move(node));
}

void SimFileSystem::addPackage(const Path& path, std::optional<WallTime> modified) {
    Node node;
    node.isDirectory = true;
    node.modified = modified;
    node.isPackage = true;
    add(path, std::move(node));
}

void SimFileSystem::setDisplayName(const Path& path, std::string displayName) {
    std::lock_guard lock(mutex_);
    nodes_[path].displayName = std::move(displayName);
}

void SimFileSystem::setHidden(const Path& path) {
    std::lock_guard lock(mutex_);
    nodes_[path].isHidden = true;
}

void SimFileSystem::setUnreadable(const Path& path) {
    std::lock_guard lock(mutex_);
    nodes_[path].isUnreadable = true;
}

void SimFileSystem::setFactsUnreadable(const Path& path) {
    std::lock_guard lock(mutex_);
    nodes_[path].factsUnreadable = true;
}

void SimFileSystem::setUserDirectory(UserDirectory which, std::optional<Path> path) {
    std::lock_guard lock(mutex_);
    if (path) {
        userDirectories_[which] = std::move(*path);
    } else {
        userDirectories_.erase(which);
    }
}

void SimFileSystem::remove(const Path& path) {
    std::lock_guard lock(mutex_);
    nodes_.erase(path);
}

void SimFileSystem::failTrashing(const Path& path, std::string reason) {
    std::lock_guard lock(mutex_);
    trashFailures_[path] = std::move(reason);
}

Result<void> SimFileSystem::moveToTrash(const Path& path) {
    const std::optional<Path> trash = userDirectory(UserDirectory::trash);
    std::lock_guard lock(mutex_);
    if (const auto failure = trashFailures_.find(path); failure != trashFailures_.end())
        return Error{failure->second, "sim", 1};
    if (!nodes_.contains(path)) return Error{"The file doesn't exist.", "sim", 2};
    if (!trash) return Error{"There is no Trash.", "sim", 3};
    const std::string prefix = path + "/";
    const Path target = childPath(*trash, lastPathComponent(path));
    std::map<Path, Node> moved;
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (it->first == path || it->first.starts_with(prefix)) {
            moved.emplace(target + it->first.substr(path.size()), std::move(it->second));
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [movedPath, node] : moved)
        nodes_.insert_or_assign(movedPath, std::move(node));
    return {};
}

std::vector<Path> SimFileSystem::listings() const {
    std::lock_guard lock(mutex_);
    return listings_;
}

}  // namespace quillbern
