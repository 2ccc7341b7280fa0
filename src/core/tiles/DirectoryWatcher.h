#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "core/platform/FileSystem.h"
#include "core/platform/FolderEvents.h"

namespace quillbern {

// Watches one folder at a time for changes of its items, and for the folder itself being
// moved, renamed or deleted. A folder moved into a Trash counts as deleted. Main thread.
class DirectoryWatcher {
public:
    DirectoryWatcher(FolderEvents& events, const FileSystem& files);
    DirectoryWatcher(const DirectoryWatcher&) = delete;
    DirectoryWatcher& operator=(const DirectoryWatcher&) = delete;

    // Ends any earlier watch first, whatever happens next. False when the folder cannot be
    // opened; the watcher is idle then. After a move or deletion the watcher is idle before
    // onDisplaced hears of it, with the folder's new path or, when it is gone (or its new
    // path cannot be read), none; an owner that follows the folder watches it again there.
    bool watch(const Path& path, std::function<void()> onChange,
               std::function<void(const std::optional<Path>&)> onDisplaced);
    // Safe when idle and any number of times.
    void stop();
    bool isWatching() const { return watch_ != nullptr; }

private:
    void report(std::uint32_t changes);

    FolderEvents& events_;
    const FileSystem& files_;
    std::unique_ptr<FolderWatch> watch_;
    std::function<void()> onChange_;
    std::function<void(const std::optional<Path>&)> onDisplaced_;
};

}  // namespace quillbern
