#include "sim/SimIcons.h"

#include <memory>

namespace quillbern {

ImageHandle SimIcons::appIcon(const Path& appPath) const {
    requests_.push_back(appPath);
    auto image = std::make_shared<Image>();
    image->widthPx = image->heightPx = 64;
    image->native = std::make_shared<const std::string>(appPath);
    return image;
}

std::string SimIcons::tagOf(const ImageHandle& icon) {
    if (!icon || !icon->native) return {};
    return *std::static_pointer_cast<const std::string>(icon->native);
}

}  // namespace quillbern
