#pragma once

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "core/foundation/Defaults.h"

namespace quillbern {

// A number setting of a settings store: its key, the range a stored value is brought
// into when read, and the value it has when none is stored.
template <class T>
struct NumberSetting {
    std::string_view key;
    T low;
    T high;
    T fallback;

    T clamped(std::optional<T> stored) const { return stored ? std::clamp(*stored, low, high) : fallback; }
};

// Sets a settings store's field and the value under its key. True when the value really
// changed, so the store tells its observers.
template <class T>
bool storeSetting(Defaults& defaults, std::string_view key, T& field, T value, Json stored) {
    const bool isChange = field != value;
    field = std::move(value);
    defaults.set(key, std::move(stored));
    return isChange;
}

}  // namespace quillbern
