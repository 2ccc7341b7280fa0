#pragma once

#include <memory>
#include <utility>

namespace quillbern {

// A weak view of an owner's life, for callbacks that must do nothing once it is gone.
class LifetimeToken {
public:
    LifetimeToken() = default;
    explicit LifetimeToken(std::weak_ptr<const void> alive) : alive_(std::move(alive)) {}
    bool isAlive() const { return !alive_.expired(); }

private:
    std::weak_ptr<const void> alive_;
};

// Held by value in the owner; its tokens expire when the owner is destroyed.
class Lifetime {
public:
    Lifetime() = default;
    Lifetime(const Lifetime&) = delete;
    Lifetime& operator=(const Lifetime&) = delete;

    LifetimeToken token() const { return LifetimeToken(alive_); }

    // Wraps fn so that it runs only while the owner lives.
    template <class Fn>
    auto guard(Fn fn) const {
        return [token = token(), fn = std::move(fn)](auto&&... args) {
            if (token.isAlive()) fn(std::forward<decltype(args)>(args)...);
        };
    }

private:
    std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
};

}  // namespace quillbern
