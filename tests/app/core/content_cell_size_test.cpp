// The cell-size rule of the user's pictures over the sizes they come in: screenshots and
// photographs whose sides share no divisor, icons, huge and thin pictures.
#include "app/core/content_cell_size.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int ledsAlongLongerSide(const PictureInfo& info) {
    const int size = contentStartingPixelSize(info);
    return (std::max(info.width, info.height) + size - 1) / size;
}

TEST(ContentCellSizeTest, SmallPicturesStartAtOneLedPerPixel) {
    for (const auto& [width, height] : {std::pair{48, 48}, {64, 32}, {7, 5}, {200, 113}, {1, 1}}) {
        const PictureInfo info = contentPictureInfo(width, height);
        EXPECT_EQ(info.step, 1) << width << " x " << height;
        EXPECT_EQ(contentStartingPixelSize(info), 1) << width << " x " << height;
    }
}

TEST(ContentCellSizeTest, CoprimeSidesGiveAWallOfOneToTwoHundredLeds) {
    const PictureInfo screenshot = contentPictureInfo(3013, 1561);
    EXPECT_EQ(screenshot.step, 1);
    EXPECT_EQ(contentStartingPixelSize(screenshot), 16);
    EXPECT_EQ(ledsAlongLongerSide(screenshot), 189);
    // Every size from just above the small ones to the texture limit, by odd strides.
    for (int longer = 201; longer <= 16384; longer += 97) {
        for (const int shorter : {longer / 3 + 1, longer - 1}) {
            const PictureInfo info = contentPictureInfo(longer, shorter);
            const int size = contentStartingPixelSize(info);
            EXPECT_EQ(size % info.step, 0) << longer << " x " << shorter;
            EXPECT_GE(ledsAlongLongerSide(info), 100) << longer << " x " << shorter;
            EXPECT_LE(ledsAlongLongerSide(info), 200) << longer << " x " << shorter;
            EXPECT_EQ(contentPictureInfo(shorter, longer).step, info.step);
        }
    }
}

TEST(ContentCellSizeTest, LargePicturesStepByATenthOfTheirStartingSize) {
    const PictureInfo huge = contentPictureInfo(16384, 8192);
    EXPECT_EQ(huge.step, 8);
    EXPECT_EQ(contentStartingPixelSize(huge), 88);
    EXPECT_EQ(contentPictureInfo(4000, 3000).step, 2);
    EXPECT_EQ(contentPictureInfo(3800, 3000).step, 1);
}

TEST(ContentCellSizeTest, AThinPictureStartsNoLargerThanItsNarrowSide) {
    EXPECT_EQ(contentStartingPixelSize(contentPictureInfo(3, 3000)), 3);
    EXPECT_EQ(contentStartingPixelSize(contentPictureInfo(3000, 1)), 1);
    // A step above the narrow side: the cell size stays at one step.
    EXPECT_EQ(contentStartingPixelSize(contentPictureInfo(5000, 1)), 2);
    EXPECT_EQ(contentStartingPixelSize(contentPictureInfo(16000, 5)), 8);
}

// A picture may be decoded smaller while its starting cells keep two decoded pixels each way:
// 30-pixel cells of a 6000 x 4000 photograph allow an eighth, 8-pixel cells a quarter.
TEST(ContentCellSizeTest, PicturesAreDecodedAsSmallAsTheirStartingCellsAllow) {
    EXPECT_EQ(largestPictureReduction(6000, 4000), 8);
    EXPECT_EQ(largestPictureReduction(4000, 6000), 8);
    EXPECT_EQ(largestPictureReduction(1600, 1200), 4);
    EXPECT_EQ(largestPictureReduction(800, 600), 2);
    EXPECT_EQ(largestPictureReduction(600, 400), 1);
    EXPECT_EQ(largestPictureReduction(0, 0), 1);
}

}  // namespace
