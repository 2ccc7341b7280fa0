#pragma once

#include <array>
#include <string_view>

#include "core/model/CaseNames.h"

namespace quillbern {

// How a hidden dock comes back: on contact with its edge, or only to a knock.
enum class RevealMode { hover, knock };

template <>
struct CaseNames<RevealMode> {
    static constexpr std::array<std::string_view, 2> names{"hover", "knock"};
};

}  // namespace quillbern
