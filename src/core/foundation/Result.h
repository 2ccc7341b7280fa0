#pragma once

#include <string>
#include <utility>
#include <variant>

namespace quillbern {

struct Error {
    std::string message;
    std::string domain;
    int code = 0;
};

// A value or the reason there is none, for callers that must react to failure: one
// dropped unread does not compile. E is the kind of reason; most callers use the plain Error.
template <class T, class E = Error>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(E error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const E& error() const { return std::get<1>(state_); }

private:
    std::variant<T, E> state_;
};

template <class E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(E error) : error_(std::move(error)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const E& error() const { return error_; }

private:
    E error_;
    bool ok_ = true;
};

}  // namespace quillbern
