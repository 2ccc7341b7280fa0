#pragma once

#include <map>
#include <memory>

#include "core/foundation/Signal.h"
#include "core/platform/SessionEvents.h"

namespace quillbern {

// Session events a test fires.
class SimSessionEvents final : public SessionEvents {
public:
    Subscription on(SessionEvent event, Task task) override;
    void fire(SessionEvent event);
    std::size_t listenerCount(SessionEvent event) const;

private:
    std::map<SessionEvent, std::unique_ptr<Signal<>>> signals_;
};

}  // namespace quillbern
