#include "sim/SimScreens.h"

namespace quillbern {

std::vector<ScreenInfo> SimScreens::screens() const {
    std::lock_guard lock(mutex_);
    return screens_;
}

Subscription SimScreens::onChanged(Task task) {
    return changed_.connect(std::move(task));
}

void SimScreens::setScreens(std::vector<ScreenInfo> screens) {
    std::lock_guard lock(mutex_);
    screens_ = std::move(screens);
}

}  // namespace quillbern
