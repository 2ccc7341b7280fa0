#pragma once

#include "core/platform/FileSystem.h"

namespace quillbern {

// The local file system; links to folders count as folders.
class LinuxFileSystem final : public FileSystem {
public:
    bool exists(const Path& path) const override;
    bool isDirectory(const Path& path) const override;
    // The file name as the desktop shows it, valid UTF-8 whatever the bytes on disk.
    std::string displayName(const Path& path) const override;
};

}  // namespace quillbern
