#pragma once

#include <string>

#include "core/platform/Types.h"

namespace quillbern {

// Facts about files. Any thread.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const Path& path) const = 0;
    virtual bool isDirectory(const Path& path) const = 0;
    // The name a file manager shows for it.
    virtual std::string displayName(const Path& path) const = 0;
};

}  // namespace quillbern
