#include "core/foundation/NotificationBus.h"

namespace quillbern {

Subscription NotificationBus::observe(std::string_view name, std::function<void()> fn) {
    auto found = names_.find(name);
    if (found == names_.end()) found = names_.try_emplace(std::string(name)).first;
    return found->second.connect(std::move(fn));
}

void NotificationBus::post(std::string_view name) const {
    const auto found = names_.find(name);
    if (found != names_.end()) found->second.emit();
}

}  // namespace quillbern
