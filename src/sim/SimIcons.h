#pragma once

#include <string>
#include <vector>

#include "core/platform/Icons.h"

namespace quillbern {

// Placeholder icons tagged with the path they stand for, so tests can tell them apart;
// records every request.
class SimIcons final : public Icons {
public:
    ImageHandle appIcon(const Path& appPath) const override;
    ImageHandle fileIcon(const Path& path) const override;

    // The path an icon of this source was made for.
    static std::string tagOf(const ImageHandle& icon);
    const std::vector<Path>& requests() const { return requests_; }
    const std::vector<Path>& fileRequests() const { return fileRequests_; }

private:
    mutable std::vector<Path> requests_;
    mutable std::vector<Path> fileRequests_;
};

}  // namespace quillbern
