#include "core/tiles/DirectoryWatcher.h"

#include "core/foundation/Paths.h"

namespace quillbern {

DirectoryWatcher::DirectoryWatcher(FolderEvents& events, const FileSystem& files) : events_(events), files_(files) {}

bool DirectoryWatcher::watch(const Path& path, std::function<void()> onChange,
                             std::function<void(const std::optional<Path>&)> onDisplaced) {
    stop();
    // The watch ends with this watcher, so its reports never outlive it.
    std::unique_ptr<FolderWatch> watch = events_.watch(path, [this](std::uint32_t changes) { report(changes); });
    if (!watch) return false;
    watch_ = std::move(watch);
    onChange_ = std::move(onChange);
    onDisplaced_ = std::move(onDisplaced);
    return true;
}

void DirectoryWatcher::stop() {
    watch_.reset();
    onChange_ = nullptr;
    onDisplaced_ = nullptr;
}

void DirectoryWatcher::report(std::uint32_t changes) {
    if (!watch_) return;
    if (changes & (FolderChange::deleted | FolderChange::renamed)) {
        std::optional<Path> moved;
        if (!(changes & FolderChange::deleted)) moved = watch_->currentPath();
        // What went to the Trash is gone to its owner, not somewhere to follow it.
        if (moved && files_.isInTrash(*moved)) moved.reset();
        // A copy: the owner may watch again from inside it.
        const auto onDisplaced = onDisplaced_;
        stop();
        if (onDisplaced) onDisplaced(moved ? std::optional(normalizedPath(*moved)) : std::nullopt);
        return;
    }
    if (const auto onChange = onChange_) onChange();
}

}  // namespace quillbern
