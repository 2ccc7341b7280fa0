#pragma once

#include <array>
#include <string_view>

#include "core/model/CaseNames.h"

namespace quillbern {

// Where a dock sits along its edge.
enum class DockAlignment { leading, center, trailing };

template <>
struct CaseNames<DockAlignment> {
    static constexpr std::array<std::string_view, 3> names{"leading", "center", "trailing"};
};

}  // namespace quillbern
