#include "sim/SimThumbnailer.h"

#include <memory>

namespace quillbern {

ImageHandle SimThumbnailer::thumbnail(const Path& file, int sidePx) const {
    std::lock_guard lock(mutex_);
    requests_.push_back({file, sidePx});
    const auto it = pictures_.find(file);
    return it == pictures_.end() ? nullptr : it->second;
}

void SimThumbnailer::setPicture(const Path& file, int sidePx) {
    auto picture = std::make_shared<Image>();
    picture->widthPx = sidePx;
    picture->heightPx = sidePx;
    picture->pixels = PixelBuffer{sidePx, sidePx, std::vector<std::uint8_t>(std::size_t(sidePx) * sidePx * 4, 255)};
    std::lock_guard lock(mutex_);
    pictures_[file] = std::move(picture);
}

std::vector<SimThumbnailer::Request> SimThumbnailer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void SimThumbnailer::rest() const {
    std::lock_guard lock(mutex_);
    ++rests_;
}

int SimThumbnailer::rests() const {
    std::lock_guard lock(mutex_);
    return rests_;
}

}  // namespace quillbern
