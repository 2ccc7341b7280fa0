#include "sim/SimScreens.h"

namespace quillbern {

std::vector<ScreenInfo> SimScreens::screens() const {
    std::lock_guard lock(mutex_);
    return screens_;
}

std::optional<ScreenInfo> SimScreens::mainScreen() const {
    std::lock_guard lock(mutex_);
    if (main_ && *main_ < screens_.size()) return screens_[*main_];
    if (screens_.empty()) return std::nullopt;
    return screens_.front();
}

void SimScreens::setMainScreen(std::optional<std::size_t> index) {
    std::lock_guard lock(mutex_);
    main_ = index;
}

Subscription SimScreens::onChanged(Task task) {
    return changed_.connect(std::move(task));
}

void SimScreens::setScreens(std::vector<ScreenInfo> screens) {
    std::lock_guard lock(mutex_);
    screens_ = std::move(screens);
}

}  // namespace quillbern
