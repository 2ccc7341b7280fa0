#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/FileSystem.h"

namespace quillbern {

// An in-memory set of files and folders, each with the name a file manager shows. Folders
// list their items in the order they were added; tests mark items hidden, packages,
// unreadable, or gone before their facts could be read, and name the user's folders.
class SimFileSystem final : public FileSystem {
public:
    bool exists(const Path& path) const override;
    bool isDirectory(const Path& path) const override;
    // The one set by the test, else the last path component.
    std::string displayName(const Path& path) const override;
    Result<std::vector<DirEntry>> list(const Path& folder, bool skipHidden) const override;
    std::optional<Path> userDirectory(UserDirectory which) const override;
    // Below the Trash folder the test named.
    bool isInTrash(const Path& path) const override;
    // Into the Trash folder the test named, with what lies inside; fails as the test said.
    Result<void> moveToTrash(const Path& path) override;

    void addFile(const Path& path, std::optional<WallTime> modified = std::nullopt);
    void addDirectory(const Path& path, std::optional<std::string> displayName = std::nullopt,
                      std::optional<WallTime> modified = std::nullopt);
    // A folder that the desktop shows as one file.
    void addPackage(const Path& path, std::optional<WallTime> modified = std::nullopt);
    void setDisplayName(const Path& path, std::string displayName);
    void setHidden(const Path& path);
    // Listing it fails as a refused folder does.
    void setUnreadable(const Path& path);
    // Listed, but its facts can no longer be read, as for an item deleted meanwhile.
    void setFactsUnreadable(const Path& path);
    void setUserDirectory(UserDirectory which, std::optional<Path> path);
    void remove(const Path& path);
    // Moving it to the Trash fails with this reason.
    void failTrashing(const Path& path, std::string reason);

    // The folders listed so far, in order.
    std::vector<Path> listings() const;

private:
    struct Node {
        bool isDirectory = false;
        std::optional<std::string> displayName;
        std::optional<WallTime> modified;
        bool isPackage = false;
        bool isHidden = false;
        bool isUnreadable = false;
        bool factsUnreadable = false;
        std::uint64_t order = 0;
    };
    void add(const Path& path, Node node);

    mutable std::mutex mutex_;
    std::map<Path, Node> nodes_;
    std::map<UserDirectory, Path> userDirectories_;
    std::uint64_t nextOrder_ = 0;
    mutable std::vector<Path> listings_;
    std::map<Path, std::string> trashFailures_;
};

}  // namespace quillbern
