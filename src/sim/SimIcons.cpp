#include "sim/SimIcons.h"

#include <algorithm>
#include <memory>

namespace quillbern {

ImageHandle SimIcons::tagged(std::string tag) const {
    auto image = std::make_shared<Image>();
    image->widthPx = image->heightPx = 64;
    image->native = std::make_shared<const std::string>(std::move(tag));
    if (givesPictures_) image->pixels = PixelBuffer{2, 2, std::vector<std::uint8_t>(2 * 2 * 4, 0xff)};
    return image;
}

ImageHandle SimIcons::appIcon(const Path& appPath) const {
    requests_.push_back(appPath);
    if (std::ranges::find(withoutIcon_, appPath) != withoutIcon_.end()) return nullptr;
    return tagged(appPath);
}

ImageHandle SimIcons::fileIcon(const Path& path) const {
    fileRequests_.push_back(path);
    return tagged(path);
}

ImageHandle SimIcons::runningAppIcon(Pid pid) const {
    if (std::ranges::find(windowIcons_, pid) == windowIcons_.end()) return nullptr;
    ImageHandle icon = tagged("window:" + std::to_string(pid));
    windowIconsMade_.push_back(icon);
    return icon;
}

std::size_t SimIcons::windowIconsHeld() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(windowIconsMade_, [](const auto& made) { return !made.expired(); }));
}

ImageHandle SimIcons::genericAppIcon() const {
    return tagged("generic");
}

Subscription SimIcons::onChanged(Task changed) const {
    return changed_.connect(std::move(changed));
}

void SimIcons::installIcon(const Path& appPath) {
    std::erase(withoutIcon_, appPath);
    changed_.emit();
}

std::string SimIcons::tagOf(const ImageHandle& icon) {
    if (!icon || !icon->native) return {};
    return *std::static_pointer_cast<const std::string>(icon->native);
}

}  // namespace quillbern
