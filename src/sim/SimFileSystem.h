#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "core/platform/FileSystem.h"

namespace quillbern {

// An in-memory set of files and folders, each with the name a file manager shows.
class SimFileSystem final : public FileSystem {
public:
    bool exists(const Path& path) const override;
    bool isDirectory(const Path& path) const override;
    // The one set by the test, else the last path component.
    std::string displayName(const Path& path) const override;

    void addFile(const Path& path);
    void addDirectory(const Path& path, std::optional<std::string> displayName = std::nullopt);
    void setDisplayName(const Path& path, std::string displayName);
    void remove(const Path& path);

private:
    struct Node {
        bool isDirectory = false;
        std::optional<std::string> displayName;
    };
    mutable std::mutex mutex_;
    std::map<Path, Node> nodes_;
};

}  // namespace quillbern
