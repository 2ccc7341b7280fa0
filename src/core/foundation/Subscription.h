#pragma once

#include <functional>

namespace quillbern {

// Owns one registration (a signal slot, an observer, a port callback). Destroying it or
// calling reset() removes the registration, also from inside the callback itself.
// An empty subscription means nothing was registered.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> remove);
    Subscription(Subscription&& other) noexcept;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription();

    void reset();
    explicit operator bool() const { return static_cast<bool>(remove_); }

private:
    std::function<void()> remove_;
};

}  // namespace quillbern
