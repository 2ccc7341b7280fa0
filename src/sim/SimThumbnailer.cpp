#include "sim/SimThumbnailer.h"

#include <memory>

namespace quillbern {

Thumbnail SimThumbnailer::thumbnail(const Path& file, int sidePx, Duration limit) const {
    std::lock_guard lock(mutex_);
    requests_.push_back({file, sidePx, limit});
    if (const auto set = outcomes_.find(file); set != outcomes_.end()) {
        const auto [outcome, takes] = set->second;
        if (outcome != Thumbnail::Outcome::overran || takes > limit) return {outcome, nullptr};
    }
    const auto it = pictures_.find(file);
    if (it == pictures_.end()) return {};
    return {Thumbnail::Outcome::made, it->second};
}

void SimThumbnailer::setOutcome(const Path& file, Thumbnail::Outcome outcome, Duration takes) {
    std::lock_guard lock(mutex_);
    outcomes_[file] = {outcome, takes};
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
