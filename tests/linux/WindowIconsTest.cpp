#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

#include "linux/x11/X11WindowIcons.h"

using namespace quillbern;

TEST(WindowIcons, EverySizeBecomesAPremultipliedPicture) {
    // A 2 by 1 picture (opaque red, half-transparent white), then a 1 by 1 one (clear).
    const std::vector<std::uint32_t> words{2, 1, 0xFFFF0000, 0x80FFFFFF, 1, 1, 0x00123456};
    const std::vector<PixelBuffer> pictures = windowIconPictures(words);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].width, 2);
    EXPECT_EQ(pictures[0].height, 1);
    EXPECT_EQ(pictures[0].rgbaPremultiplied, (std::vector<std::uint8_t>{255, 0, 0, 255, 128, 128, 128, 128}));
    EXPECT_EQ(pictures[1].rgbaPremultiplied, (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(WindowIcons, APictureThatClaimsMoreThanFollowsEndsTheList) {
    EXPECT_EQ(windowIconPictures(std::vector<std::uint32_t>{1, 1, 0xFF000000, 4, 4, 1, 2}).size(), 1u);
    EXPECT_TRUE(windowIconPictures(std::vector<std::uint32_t>{0, 5, 1, 2, 3}).empty());
    EXPECT_TRUE(windowIconPictures(std::vector<std::uint32_t>{5000, 5000}).empty());
    EXPECT_TRUE(windowIconPictures(std::vector<std::uint32_t>{7}).empty());
}
