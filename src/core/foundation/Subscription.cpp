#include "core/foundation/Subscription.h"

#include <utility>

namespace quillbern {

Subscription::Subscription(std::function<void()> remove) : remove_(std::move(remove)) {}

Subscription::Subscription(Subscription&& other) noexcept : remove_(std::exchange(other.remove_, nullptr)) {}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        remove_ = std::exchange(other.remove_, nullptr);
    }
    return *this;
}

Subscription::~Subscription() {
    reset();
}

void Subscription::reset() {
    // Cleared before the call so a removal that re-enters reset() runs once.
    if (auto remove = std::exchange(remove_, nullptr)) remove();
}

}  // namespace quillbern
