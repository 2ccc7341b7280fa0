#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillbern {

// The stored names of a plain enumeration, one per case in declaration order: each
// enumeration defines CaseNames<E> with `static constexpr std::array<std::string_view, N> names`.
template <class E>
struct CaseNames;

template <class E>
constexpr std::string_view caseName(E value) {
    return CaseNames<E>::names[static_cast<std::size_t>(value)];
}

// Exact, case-sensitive match of a stored name.
template <class E>
constexpr std::optional<E> caseNamed(std::string_view name) {
    for (std::size_t i = 0; i < CaseNames<E>::names.size(); ++i) {
        if (CaseNames<E>::names[i] == name) return static_cast<E>(i);
    }
    return std::nullopt;
}

}  // namespace quillbern
