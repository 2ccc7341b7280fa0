#pragma once

#include <vector>

#include "core/foundation/Geometry.h"

namespace quillbern {

// The one layout rule of the workspace: the windows' cells, the cells a drop is tested
// against and the ghost grid of a drag all come from it, so what a drag shows is what the
// windows take. Rows top first, each left to right; a short last row spreads its cells over
// the whole width. Cells keep their fractions, and an area too small for the margins gives
// cells without a positive size: whoever places windows decides what to do with those.
class WorkspaceGrid {
public:
    static constexpr double kInset = 10;
    static constexpr double kGap = 10;

    // Empty for a count below 1. Screen space in, screen space out.
    static std::vector<RectBL> frames(int count, const RectBL& area);
};

}  // namespace quillbern
