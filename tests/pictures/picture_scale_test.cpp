// The area filter that fits pictures under the texture size limit.
#include "pictures/picture_scale.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(PictureScaleTest, FittedSizeKeepsProportionsUnderTheLimit) {
    EXPECT_EQ(fittedSize({6000, 4000}, 16384).width, 6000);
    const PictureSize wide = fittedSize({20000, 5000}, 16384);
    EXPECT_EQ(wide.width, 16384);
    EXPECT_EQ(wide.height, 4096);
    const PictureSize thin = fittedSize({3, 40000}, 16384);
    EXPECT_EQ(thin.width, 1);
    EXPECT_EQ(thin.height, 16384);
}

TEST(PictureScaleTest, EachNewPixelIsTheMeanOfTheAreaItCovers) {
    // 3 x 1 grey levels 0, 90, 210 to 2 x 1: each new pixel covers one and a half old ones.
    const std::uint8_t grey[] = {0, 0, 0, 90, 90, 90, 210, 210, 210};
    const PixelBuffer half = areaScale(grey, {3, 1}, {2, 1});
    ASSERT_TRUE(half);
    EXPECT_EQ(half[0], 30);   // (0 + 90 / 2) / 1.5
    EXPECT_EQ(half[3], 170);  // (90 / 2 + 210) / 1.5
    // 2 x 2 to 1 x 1: the mean of all four.
    const std::uint8_t square[] = {10, 0, 0, 20, 0, 0, 30, 0, 0, 41, 0, 0};
    EXPECT_EQ(areaScale(square, {2, 2}, {1, 1})[0], 25);
}

TEST(PictureScaleTest, FitPictureShrinksEveryFrame) {
    Picture picture;
    picture.width = 8;
    picture.height = 4;
    for (std::uint8_t level : {40, 200}) {
        PixelBuffer pixels = allocatePixelBuffer(8 * 4 * 3);
        std::memset(pixels.get(), level, 8 * 4 * 3);
        picture.frames.push_back({std::move(pixels), 100});
    }
    ASSERT_TRUE(fitPicture(picture, 4));
    EXPECT_EQ(picture.width, 4);
    EXPECT_EQ(picture.height, 2);
    EXPECT_EQ(picture.frames[0].pixels[4 * 2 * 3 - 1], 40);
    EXPECT_EQ(picture.frames[1].pixels[0], 200);
    EXPECT_EQ(picture.frames[1].delayMs, 100);
}
