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

TEST(Geometry, ConvertsBetweenTopLeftAndBottomLeft) {
    constexpr double kHeight = 1080;
    const RectTL window{10, 20, 300, 200};
    const RectBL docked = toBottomLeft(window, kHeight);
    EXPECT_EQ(docked, (RectBL{10, 860, 300, 200}));
    EXPECT_EQ(toTopLeft(docked, kHeight), window);

    // A rect against the top edge lands at the top in both spaces.
    EXPECT_EQ(toBottomLeft(RectTL{0, 0, 1920, 30}, kHeight), (RectBL{0, 1050, 1920, 30}));
    EXPECT_EQ(toTopLeft(RectBL{0, 0, 1920, 70}, kHeight), (RectTL{0, 1010, 1920, 70}));
    // A display above the primary one has negative top-left y.
    EXPECT_EQ(toBottomLeft(RectTL{0, -900, 1600, 900}, kHeight), (RectBL{0, 1080, 1600, 900}));
    // A frame given from another corner is the same rectangle.
    EXPECT_EQ(toBottomLeft(RectTL{310, 220, -300, -200}, kHeight), docked);
    EXPECT_EQ(toBottomLeft(RectTL{310, 20, -300, 200}, kHeight), docked);

    // Points convert without the minus one of pixel rows.
    EXPECT_EQ(toBottomLeft(PointTL{5, 0}, kHeight), (PointBL{5, 1080}));
    EXPECT_EQ(toBottomLeft(PointTL{5, 1079}, kHeight), (PointBL{5, 1}));
    EXPECT_EQ(toTopLeft(PointBL{7, 0}, kHeight), (PointTL{7, 1080}));
    EXPECT_EQ(toTopLeft(toBottomLeft(PointTL{3.5, 400.25}, kHeight), kHeight), (PointTL{3.5, 400.25}));

    EXPECT_TRUE(toBottomLeft(RectTL::null(), kHeight).isNull());
    EXPECT_TRUE(toTopLeft(RectBL::null(), kHeight).isNull());
}

TEST(Geometry, IntersectionIsNullWhenApartAndEmptyWhenTouching) {
    const Rect a{0, 0, 100, 100};
    EXPECT_EQ(a.intersection(Rect{50, 60, 100, 100}), (Rect{50, 60, 50, 40}));
    EXPECT_TRUE(a.intersectsWithArea(Rect{99, 99, 10, 10}));

    const Rect apart{101, 0, 10, 10};
    EXPECT_TRUE(a.intersection(apart).isNull());
    EXPECT_FALSE(a.intersectsWithArea(apart));

    const Rect touching{100, 20, 10, 10};
    const Rect edge = a.intersection(touching);
    EXPECT_FALSE(edge.isNull());
    EXPECT_TRUE(edge.isEmpty());
    EXPECT_EQ(edge, (Rect{100, 20, 0, 10}));
    EXPECT_FALSE(a.intersectsWithArea(touching));
    EXPECT_FALSE(a.intersectsWithArea(Rect{100, 100, 5, 5}));  // corner only

    EXPECT_TRUE(a.intersection(Rect::null()).isNull());
    EXPECT_TRUE(Rect::null().intersection(a).isNull());
    EXPECT_FALSE(Rect::null().intersectsWithArea(Rect::null()));
}

TEST(Geometry, UnionIgnoresNullAndNullContainsNothing) {
    const Rect a{0, 0, 10, 10};
    const Rect b{20, -5, 5, 5};
    EXPECT_EQ(a.united(b), (Rect{0, -5, 25, 15}));
    EXPECT_EQ(a.united(Rect::null()), a);
    EXPECT_EQ(Rect::null().united(a), a);
    EXPECT_TRUE(Rect::null().united(Rect::null()).isNull());

    const Rect null = Rect::null();
    EXPECT_TRUE(null.isEmpty());
    EXPECT_EQ(null.area(), 0);
    EXPECT_FALSE(null.contains(Point{0, 0}));
    EXPECT_FALSE(null.containsRect(a));
    EXPECT_FALSE(a.containsRect(null));
    EXPECT_FALSE(mouseInRect(PointBL{0, 0}, RectBL::null()));
}
