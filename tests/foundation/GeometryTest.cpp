#include <gtest/gtest.h>

#include "core/foundation/Geometry.h"

using namespace quillbern;

TEST(Geometry, ContainmentRulesDifferAtTheEdges) {
    const RectBL r{0, 0, 100, 50};
    EXPECT_TRUE(r.contains({0, 0}));
    EXPECT_FALSE(r.contains({100, 10}));
    EXPECT_FALSE(r.contains({10, 50}));
    EXPECT_FALSE(mouseInRect(PointBL{10, 0}, r));
    EXPECT_TRUE(mouseInRect(PointBL{10, 50}, r));
    EXPECT_TRUE(mouseInRect(PointBL{0, 1}, r));
    EXPECT_FALSE(mouseInRect(PointBL{100, 1}, r));
}
