#include "sim/SimUpdater.h"

#include <algorithm>

namespace quillbern {

Subscription SimUpdater::onWillRelaunch(Task task) {
    const std::lock_guard lock(mutex_);
    const int id = ++lastListener_;
    listeners_.emplace_back(id, std::move(task));
    return Subscription([this, id] {
        const std::lock_guard lock(mutex_);
        std::erase_if(listeners_, [id](const auto& listener) { return listener.first == id; });
    });
}

void SimUpdater::relaunch() {
    std::vector<std::pair<int, Task>> listeners;
    {
        const std::lock_guard lock(mutex_);
        listeners = listeners_;
    }
    for (const auto& [id, task] : listeners)
        task();
}

}  // namespace quillbern
