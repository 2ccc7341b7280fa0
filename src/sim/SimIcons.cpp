#include "sim/SimIcons.h"

#include <memory>

namespace quillbern {

namespace {

ImageHandle taggedImage(const Path& path) {
    auto image = std::make_shared<Image>();
    image->widthPx = image->heightPx = 64;
    image->native = std::make_shared<const std::string>(path);
    return image;
}

}  // namespace

ImageHandle SimIcons::appIcon(const Path& appPath) const {
    requests_.push_back(appPath);
    return taggedImage(appPath);
}

ImageHandle SimIcons::fileIcon(const Path& path) const {
    fileRequests_.push_back(path);
    return taggedImage(path);
}

std::string SimIcons::tagOf(const ImageHandle& icon) {
    if (!icon || !icon->native) return {};
    return *std::static_pointer_cast<const std::string>(icon->native);
}

}  // namespace quillbern
