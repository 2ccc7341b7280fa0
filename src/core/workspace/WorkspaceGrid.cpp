#include "core/workspace/WorkspaceGrid.h"

#include <cmath>

namespace quillbern {

std::vector<RectBL> WorkspaceGrid::frames(int count, const RectBL& area) {
    if (count < 1) return {};
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = static_cast<int>(std::ceil(static_cast<double>(count) / columns));
    const RectBL work = area.insetBy(kInset, kInset);
    const double rowHeight = (work.height - kGap * (rows - 1)) / rows;

    std::vector<RectBL> cells;
    cells.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < rows; ++row) {
        const int inRow = row == rows - 1 ? count - (rows - 1) * columns : columns;
        const double width = (work.width - kGap * (inRow - 1)) / inRow;
        const double y = work.maxY() - rowHeight - row * (rowHeight + kGap);
        for (int column = 0; column < inRow; ++column)
            cells.push_back({work.minX() + column * (width + kGap), y, width, rowHeight});
    }
    return cells;
}

}  // namespace quillbern
