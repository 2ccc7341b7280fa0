#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/model/CaseNames.h"

namespace quillbern {

// The display edge a dock stands on; also the order in which a new dock looks for a free one.
enum class DockEdge { bottom, top, left, right };

inline constexpr std::array<DockEdge, 4> kAllDockEdges{DockEdge::bottom, DockEdge::top, DockEdge::left,
                                                       DockEdge::right};

template <>
struct CaseNames<DockEdge> {
    static constexpr std::array<std::string_view, 4> names{"bottom", "top", "left", "right"};
};

// The edge's name for people, translated.
std::string label(DockEdge edge);

}  // namespace quillbern
