#include <gtest/gtest.h>

#include "core/tiles/BounceMotion.h"

namespace quillbern {
namespace {

MediaTime at(double seconds) {
    return {seconds};
}

TEST(BounceMotion, SwingsOutAndBackUntilTheLaunchEnds) {
    BounceMotion bounce;
    EXPECT_EQ(bounce.value(at(0)), 0);
    EXPECT_FALSE(bounce.isMoving(at(0)));

    bounce.setBouncing(true, at(10));
    EXPECT_EQ(bounce.value(at(10)), 0);
    EXPECT_NEAR(bounce.value(at(10.15)), 0.5, 1e-9) << "half way out, eased in and out";
    EXPECT_NEAR(bounce.value(at(10.3)), 1, 1e-9) << "fully out after one swing";
    EXPECT_NEAR(bounce.value(at(10.45)), 0.5, 1e-9);
    EXPECT_NEAR(bounce.value(at(10.6)), 0, 1e-9) << "back";
    EXPECT_NEAR(bounce.value(at(13.3)), 1, 1e-9) << "and again, for as long as it launches";
    EXPECT_TRUE(bounce.isMoving(at(100)));
    bounce.setBouncing(true, at(10.5));
    EXPECT_NEAR(bounce.value(at(10.6)), 0, 1e-9) << "a repeated start keeps the swing";
}

TEST(BounceMotion, EasesBackToRestFromWhereverItStands) {
    BounceMotion bounce;
    bounce.setBouncing(true, at(0));
    bounce.setBouncing(false, at(0.3));
    EXPECT_NEAR(bounce.value(at(0.3)), 1, 1e-9) << "no jump";
    EXPECT_LT(bounce.value(at(0.39)), 1);
    EXPECT_GT(bounce.value(at(0.39)), 0);
    EXPECT_TRUE(bounce.isMoving(at(0.47)));
    EXPECT_EQ(bounce.value(at(0.48)), 0) << "at rest within 0.18 s";
    EXPECT_FALSE(bounce.isMoving(at(0.48)));
}

}  // namespace
}  // namespace quillbern
