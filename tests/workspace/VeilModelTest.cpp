#include <gtest/gtest.h>

#include "core/workspace/VeilModel.h"

namespace quillbern {
namespace {

// The right-hand one of two 1280x1080 screens side by side.
constexpr RectBL kRight{1280, 0, 1280, 1080};

TEST(VeilModel, TheHoleIsPlacedAgainstThePanelWholeAndOnlyWhereItSharesArea) {
    // y down from the panel's top-left corner: a hole 100 above the bottom edge, 300 tall,
    // has its top 680 below the panel's top.
    EXPECT_EQ(VeilModel::localHole(kRight, RectBL{1400, 100, 400, 300}), (Rect{120, 680, 400, 300}));
    // Crossing the panel's left edge: kept whole, reaching past it.
    EXPECT_EQ(VeilModel::localHole(kRight, RectBL{1180, 100, 400, 300}), (Rect{-100, 680, 400, 300}));
    // Touching the edge from the other screen shares no area: no hole here.
    EXPECT_EQ(VeilModel::localHole(kRight, RectBL{880, 100, 400, 300}), std::nullopt);
    EXPECT_EQ(VeilModel::localHole(kRight, RectBL{100, 100, 400, 300}), std::nullopt);
    EXPECT_EQ(VeilModel::localHole(kRight, RectBL{1400, 1080, 400, 300}), std::nullopt);
    EXPECT_EQ(VeilModel::localHole(kRight, std::nullopt), std::nullopt);
    EXPECT_EQ(VeilModel::localHole(kRight, RectBL::null()), std::nullopt);
}

TEST(VeilModel, DrawsOnlyWhatChanged) {
    VeilModel veil(kRight);
    // The first update draws even without a hole: the whole panel dimmed, no ring.
    VeilModel::Changes changes = veil.update(std::nullopt, 0.35);
    EXPECT_TRUE(changes.hole);
    EXPECT_TRUE(changes.intensity);
    EXPECT_EQ(veil.hole(), std::nullopt);
    EXPECT_EQ(veil.intensity(), 0.35);
    EXPECT_FALSE(veil.update(std::nullopt, 0.35).any());
    // A hole on another screen is no hole here either.
    EXPECT_FALSE(veil.update(RectBL{100, 100, 400, 300}, 0.35).any());

    changes = veil.update(RectBL{1400, 100, 400, 300}, 0.35);
    EXPECT_TRUE(changes.hole);
    EXPECT_FALSE(changes.intensity);
    EXPECT_EQ(veil.hole(), (Rect{120, 680, 400, 300}));
    EXPECT_FALSE(veil.update(RectBL{1400, 100, 400, 300}, 0.35).any());

    // The same hole at a new intensity: only the dimming changes.
    changes = veil.update(RectBL{1400, 100, 400, 300}, 0.5);
    EXPECT_FALSE(changes.hole);
    EXPECT_TRUE(changes.intensity);
    EXPECT_EQ(veil.intensity(), 0.5);

    // Back to no hole.
    changes = veil.update(std::nullopt, 0.5);
    EXPECT_TRUE(changes.hole);
    EXPECT_FALSE(changes.intensity);
    EXPECT_EQ(veil.hole(), std::nullopt);

    // A first update with a hole draws both too.
    VeilModel other(kRight);
    changes = other.update(RectBL{1400, 100, 400, 300}, 0.35);
    EXPECT_TRUE(changes.hole);
    EXPECT_TRUE(changes.intensity);
}

}  // namespace
}  // namespace quillbern
