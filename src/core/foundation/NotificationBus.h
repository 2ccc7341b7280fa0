#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/foundation/Signal.h"

namespace quillbern {

// Notices inside the program, by name: whoever posts one need not know who listens, and
// the listeners need not know who posts. Main thread.
class NotificationBus {
public:
    NotificationBus() = default;
    NotificationBus(const NotificationBus&) = delete;
    NotificationBus& operator=(const NotificationBus&) = delete;

    [[nodiscard]] Subscription observe(std::string_view name, std::function<void()> fn);
    // Tells every observer of the name, in the order they began observing.
    void post(std::string_view name) const;

private:
    std::map<std::string, Signal<>, std::less<>> names_;
};

}  // namespace quillbern
