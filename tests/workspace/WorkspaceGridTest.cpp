#include <gtest/gtest.h>

#include "core/workspace/WorkspaceGrid.h"

namespace quillbern {
namespace {

TEST(WorkspaceGrid, NoCountNoCells) {
    EXPECT_TRUE(WorkspaceGrid::frames(0, {0, 0, 1000, 800}).empty());
    EXPECT_TRUE(WorkspaceGrid::frames(-3, {0, 0, 1000, 800}).empty());
}

TEST(WorkspaceGrid, CellsRowByRowFromTheTopAShortLastRowSpanningTheWidth) {
    EXPECT_EQ(WorkspaceGrid::frames(1, {0, 0, 1000, 800}), (std::vector<RectBL>{{10, 10, 980, 780}}));
    EXPECT_EQ(WorkspaceGrid::frames(3, {0, 0, 1000, 800}),
              (std::vector<RectBL>{{10, 405, 485, 385}, {505, 405, 485, 385}, {10, 10, 980, 385}}));
    // Five: three above, two below each one and a half columns wide.
    const std::vector<RectBL> five = WorkspaceGrid::frames(5, {100, 50, 1000, 800});
    ASSERT_EQ(five.size(), 5u);
    EXPECT_EQ(five[0].y, five[2].y);
    EXPECT_EQ(five[3], (RectBL{110, 60, 485, 385}));
    EXPECT_EQ(five[4].maxX(), 1090);
}

TEST(WorkspaceGrid, EveryCountUpToTenHasItsShapeAndFillsTheArea) {
    // columns, rows and cells in the last row, for counts 1 to 10.
    const int shapes[10][3] = {{1, 1, 1}, {2, 1, 2}, {2, 2, 1}, {2, 2, 2}, {3, 2, 2},
                               {3, 2, 3}, {3, 3, 1}, {3, 3, 2}, {3, 3, 3}, {4, 3, 2}};
    const RectBL area{0, 25, 1512, 944};
    for (int count = 1; count <= 10; ++count) {
        const auto& [columns, rows, last] = shapes[count - 1];
        const std::vector<RectBL> cells = WorkspaceGrid::frames(count, area);
        ASSERT_EQ(int(cells.size()), count);
        EXPECT_EQ(cells.front().x, 10) << count;
        EXPECT_DOUBLE_EQ(cells.front().maxY(), area.maxY() - 10) << count;
        EXPECT_NEAR(cells.back().y, area.y + 10, 1e-9) << count;
        EXPECT_DOUBLE_EQ(cells.back().maxX(), area.maxX() - 10) << "the last cell reaches the right margin: " << count;
        EXPECT_DOUBLE_EQ(cells[std::size_t(columns - 1)].maxX(), area.maxX() - 10) << count;
        int inLastRow = 0;
        for (const RectBL& cell : cells)
            inLastRow += cell.y == cells.back().y;
        EXPECT_EQ(inLastRow, last) << count;
        EXPECT_DOUBLE_EQ(cells.front().height, (944 - 20 - 10.0 * (rows - 1)) / rows) << count;
    }
}

TEST(WorkspaceGrid, FractionsStandAsComputed) {
    const std::vector<RectBL> cells = WorkspaceGrid::frames(7, {0, 25, 1512, 944});
    EXPECT_DOUBLE_EQ(cells[0].height, 904.0 / 3);
    EXPECT_DOUBLE_EQ(cells[0].width, 1472.0 / 3);
    EXPECT_DOUBLE_EQ(cells[4].x, 10 + 1472.0 / 3 + 10);
    EXPECT_EQ(cells[6].x, 10);
    EXPECT_NEAR(cells[6].y, 35, 1e-9);
    EXPECT_EQ(cells[6].width, 1492);
    EXPECT_DOUBLE_EQ(cells[6].height, 904.0 / 3);
}

TEST(WorkspaceGrid, AnAreaTooSmallForTheMarginsGivesCellsWithoutSize) {
    const std::vector<RectBL> cells = WorkspaceGrid::frames(4, {0, 0, 30, 25});
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0].width, 0);
    EXPECT_EQ(cells[0].height, -2.5);
}

}  // namespace
}  // namespace quillbern
