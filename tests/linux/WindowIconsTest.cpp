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

TEST(WindowIcons, AnIconPixmapAndItsMaskBecomeOnePicture) {
    // 2 by 2, colour: red, green / blue, white; rows padded to 12 bytes.
    RawImage colour{2, 2, 24, 12, true, {}};
    colour.data = {0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0};
    // The mask hides the second pixel of the first row; its bits come lowest first.
    const RawImage mask{2, 2, 1, 4, true, {0b01, 0, 0, 0, 0b11, 0, 0, 0}};
    const std::optional<PixelBuffer> picture = iconPixmapPicture(colour, mask);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->rgbaPremultiplied, (std::vector<std::uint8_t>{255, 0, 0, 255, 0, 0, 0, 0,  //
                                                                     0, 0, 255, 255, 255, 255, 255, 255}));

    // A bitmap is black on white; without a mask every pixel shows. Bits highest first here.
    const RawImage bitmap{2, 1, 1, 4, false, {0b10000000, 0, 0, 0}};
    EXPECT_EQ(iconPixmapPicture(bitmap, std::nullopt)->rgbaPremultiplied,
              (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255, 255, 255}));
}

TEST(WindowIcons, AnIconPixmapThatDoesNotAddUpIsNoPicture) {
    const RawImage colour{2, 2, 24, 8, true, std::vector<std::uint8_t>(16)};
    EXPECT_TRUE(iconPixmapPicture(colour, std::nullopt));
    EXPECT_FALSE(iconPixmapPicture(RawImage{2, 2, 24, 8, true, std::vector<std::uint8_t>(15)}, std::nullopt))
        << "fewer bytes than its rows";
    EXPECT_FALSE(iconPixmapPicture(RawImage{3, 2, 24, 8, true, std::vector<std::uint8_t>(16)}, std::nullopt))
        << "rows shorter than its width";
    EXPECT_FALSE(iconPixmapPicture(colour, RawImage{3, 2, 1, 4, true, std::vector<std::uint8_t>(8)}))
        << "a mask of another size";
    EXPECT_FALSE(iconPixmapPicture(RawImage{}, std::nullopt));
}
