#include "sim/SimPictureReader.h"

namespace quillbern {

PictureRead SimPictureReader::read(const PictureAsk& ask, Duration) {
    const std::lock_guard lock(mutex_);
    asked_.push_back(ask);
    if (stopped_) return {PictureRead::Outcome::unavailable, {}};
    const auto set = outcomes_.find(ask.file);
    if (set == outcomes_.end()) return {};
    if (set->second != PictureRead::Outcome::picture) return {set->second, {}};
    const auto side = std::size_t(ask.sidePx);
    return {PictureRead::Outcome::picture,
            PixelBuffer{ask.sidePx, ask.sidePx, std::vector<std::uint8_t>(side * side * 4, 255)}};
}

void SimPictureReader::rest() {
    const std::lock_guard lock(mutex_);
    ++rests_;
}

void SimPictureReader::stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
}

void SimPictureReader::setPicture(const Path& file) {
    setOutcome(file, PictureRead::Outcome::picture);
}

void SimPictureReader::setOutcome(const Path& file, PictureRead::Outcome outcome) {
    const std::lock_guard lock(mutex_);
    outcomes_[file] = outcome;
}

std::vector<PictureAsk> SimPictureReader::asked() const {
    const std::lock_guard lock(mutex_);
    return asked_;
}

int SimPictureReader::rests() const {
    const std::lock_guard lock(mutex_);
    return rests_;
}

}  // namespace quillbern
