// The generator's area filter, which shrinks the backdrops from their design size into files
// with power-of-two sides: each target pixel is the mean of the source area it covers.
#include <gtest/gtest.h>

#include "tools/texture_generator/canvas.h"

namespace {

using texgen::Canvas;

TEST(CanvasTest, AreaDownscaleByOneAndAHalfWeighsTheSharedPixelByHalf) {
    // Three columns into two: target 0 covers all of source 0 and half of source 1.
    Canvas source(3, 1);
    source.at(0, 0) = {0.0f, 0.3f, 0.9f};
    source.at(1, 0) = {0.6f, 0.3f, 0.0f};
    source.at(2, 0) = {0.9f, 0.3f, 0.3f};
    Canvas shrunk = texgen::areaDownscale(source, 2, 1);
    ASSERT_EQ(shrunk.width(), 2);
    ASSERT_EQ(shrunk.height(), 1);
    EXPECT_NEAR(shrunk.at(0, 0).r, (0.0f + 0.5f * 0.6f) / 1.5f, 1e-6);
    EXPECT_NEAR(shrunk.at(1, 0).r, (0.5f * 0.6f + 0.9f) / 1.5f, 1e-6);
    EXPECT_NEAR(shrunk.at(0, 0).g, 0.3f, 1e-6);
    EXPECT_NEAR(shrunk.at(1, 0).b, (0.0f + 0.3f) / 1.5f, 1e-6);
}

TEST(CanvasTest, AreaDownscaleKeepsTheMeanAndTheSideOfAnEdge) {
    // A 768 by 512 picture, left third white: shrunk to 512 by 512 the white keeps its third
    // of the width and the overall mean stays the same.
    Canvas source(768, 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 256; ++x) source.at(x, y) = {1, 1, 1};
    Canvas shrunk = texgen::areaDownscale(source, 512, 512);
    ASSERT_EQ(shrunk.width(), 512);
    double sum = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) sum += shrunk.at(x, y).r;
    EXPECT_NEAR(sum / (512.0 * 512.0), 1.0 / 3.0, 1e-4);
    EXPECT_FLOAT_EQ(shrunk.at(169, 100).r, 1.0f);
    // Target column 170 covers source columns 255 (white) and half of 256 (black).
    EXPECT_NEAR(shrunk.at(170, 100).r, 2.0f / 3.0f, 1e-5);
    EXPECT_FLOAT_EQ(shrunk.at(171, 100).r, 0.0f);
}

TEST(CanvasTest, AreaDownscaleLeavesACanvasItCannotShrinkAsItIs) {
    Canvas source(4, 4, {0.5f, 0.5f, 0.5f});
    Canvas same = texgen::areaDownscale(source, 8, 2);
    EXPECT_EQ(same.width(), 4);
    EXPECT_EQ(same.height(), 4);
}

}  // namespace
