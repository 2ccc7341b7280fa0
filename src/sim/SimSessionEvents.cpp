#include "sim/SimSessionEvents.h"

namespace quillbern {

Subscription SimSessionEvents::on(SessionEvent event, Task task) {
    auto& signal = signals_[event];
    if (!signal) signal = std::make_unique<Signal<>>();
    return signal->connect(std::move(task));
}

void SimSessionEvents::fire(SessionEvent event) {
    if (const auto found = signals_.find(event); found != signals_.end()) found->second->emit();
}

std::size_t SimSessionEvents::listenerCount(SessionEvent event) const {
    const auto found = signals_.find(event);
    return found == signals_.end() ? 0 : found->second->connectionCount();
}

}  // namespace quillbern
